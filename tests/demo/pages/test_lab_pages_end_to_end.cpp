// The cabinet and card-power pages against the stand-in: the real library
// logs in on a loopback address of its own, the pages' commands reach the
// simulated devices, and their replies come back through the UDP receiver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "demo/pages/cabinet_pages.h"
#include "demo/pages/card_power_page.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"
#include "tools/iot_frames.h"

namespace {

constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

// The lab gateway's nodes an operator picks on the node page for the two
// pages (tools/builtin_platform.cpp), and the command codes of their frames.
constexpr NodeTargetInfo kCabinet{1000001, 1, 9};
constexpr NodeTargetInfo kCardPower{1000001, 1, 22};
constexpr std::uint8_t kCabinetCode = 97, kCardPowerCode = 86;

using SentTo = std::tuple<int, int, int>;  // gateway, net id, node address

// Where the "iot" frames of that command code the stand-in received went.
std::vector<SentTo> FramesSent(const standin::StandinServer& server, std::uint8_t code) {
  std::vector<SentTo> sent;
  for (const auto& m : server.Received()) {
    if (m.cmd != "iot" || !m.complete) continue;
    const std::optional<standin::DeviceFrame> frame = standin::DecodeDeviceFrame(m.parsed.body);
    if (!frame || frame->commandCode != code) continue;
    sent.emplace_back(m.parsed.IntHeader("Class", -1), frame->netId, frame->nodeAddress);
  }
  return sent;
}

SentTo Node(const NodeTargetInfo& node) {
  return {static_cast<int>(node.nvsid), static_cast<int>(node.netid), static_cast<int>(node.nodeaddr)};
}

void Click(QWidget* page, int id) {
  auto* button = page->findChild<QPushButton*>(QString::number(id));
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

TEST(LabPagesEndToEnd, CabinetWeightAndCardPowerStateFromTheSimulatedDevices) {
  demotest::LoggedInDemo demo("127.0.61.28");
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();

  // The cabinet's box 2 weighs 190 g in the simulation.
  theApp.NodeTarget = kCabinet;
  auto* cabinet = dynamic_cast<CCabMgzPage*>(dialog.FindPage("CCabMgzPage"));
  ASSERT_NE(cabinet, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(cabinet));
  cabinet->findChild<QComboBox*>(QStringLiteral("1372"))->setCurrentIndex(2);
  Click(cabinet, IDC_CABMGZ_WEIGHT);
  QListWidget* events = cabinet->ListBoxOf(IDC_CABMGZ_EVENTS);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return !events->findItems(QString::fromUtf8("2号箱内的物品重量为190"), Qt::MatchExactly).isEmpty(); },
      kWaitMs));
  EXPECT_EQ(FramesSent(demo.Server(), kCabinetCode), std::vector<SentTo>{Node(kCabinet)});

  // The card-power controller reports its power state.
  theApp.NodeTarget = kCardPower;
  auto* power = dynamic_cast<CICReadPage*>(dialog.FindPage("CICReadPage"));
  ASSERT_NE(power, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(power));
  Click(power, IDC_ICREAD_QUERY_STATUS);
  ASSERT_TRUE(QTest::qWaitFor([&] { return power->IconStateOf(IDC_ICREAD_POWER_ICON) != IconState::kPending; },
                              kWaitMs));
  EXPECT_FALSE(power->findChild<QLineEdit*>(QStringLiteral("1266"))->text().isEmpty());
  EXPECT_EQ(FramesSent(demo.Server(), kCardPowerCode), std::vector<SentTo>{Node(kCardPower)});

  demo.EndProgram();
  EXPECT_TRUE(demo.Server().WaitFor("quit", 1, std::chrono::milliseconds(kWaitMs)));
}

}  // namespace
