// The cabinet and card-power pages against the stand-in: the real library
// logs in on a loopback address of its own, the pages' commands reach the
// simulated devices, and their replies come back through the UDP receiver.
#include <gtest/gtest.h>

#include <chrono>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "demo/pages/cabinet_pages.h"
#include "demo/pages/card_power_page.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"

namespace {

constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

void Click(QWidget* page, int id) {
  auto* button = page->findChild<QPushButton*>(QString::number(id));
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

TEST(LabPagesEndToEnd, CabinetWeightAndCardPowerStateFromTheSimulatedDevices) {
  demotest::LoggedInDemo demo("127.0.61.28");
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();
  theApp.NodeTarget = NodeTargetInfo{1000001, 1, 7};

  // The cabinet's box 2 weighs 190 g in the simulation.
  auto* cabinet = dynamic_cast<CCabMgzPage*>(dialog.FindPage("CCabMgzPage"));
  ASSERT_NE(cabinet, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(cabinet));
  cabinet->findChild<QComboBox*>(QStringLiteral("1372"))->setCurrentIndex(2);
  Click(cabinet, IDC_CABMGZ_WEIGHT);
  QListWidget* events = cabinet->ListBoxOf(IDC_CABMGZ_EVENTS);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return !events->findItems(QString::fromUtf8("2号箱内的物品重量为190"), Qt::MatchExactly).isEmpty(); },
      kWaitMs));

  // The card-power controller reports its power state.
  auto* power = dynamic_cast<CICReadPage*>(dialog.FindPage("CICReadPage"));
  ASSERT_NE(power, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(power));
  Click(power, IDC_ICREAD_QUERY_STATUS);
  ASSERT_TRUE(QTest::qWaitFor([&] { return power->IconStateOf(IDC_ICREAD_POWER_ICON) != IconState::kPending; },
                              kWaitMs));
  EXPECT_FALSE(power->findChild<QLineEdit*>(QStringLiteral("1266"))->text().isEmpty());

  demo.EndProgram();
  EXPECT_TRUE(demo.Server().WaitFor("quit", 1, std::chrono::milliseconds(kWaitMs)));
}

}  // namespace
