// The camera cover, plate and battery door contact pages with the real
// library against the stand-in: the simulated cover opens on the page's
// button; the plate recogniser and the battery contact send events only,
// so their frames are sent from the stand-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include "demo/pages/lab_switch_pages.h"
#include "demo/pages/security_pages.h"
#include "demo/pages/vehicle_pages.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"
#include "tools/builtin_platform.h"
#include "tools/iot_frames.h"

namespace {

// An address of the loopback network of its own keeps this test apart from others.
constexpr const char* kServerAddress = "127.0.69.1";
constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

const standin::BuiltInNode* NodeOfType(int type) {
  const auto nodes = standin::BuiltInNodes();
  const auto found = std::find_if(nodes.begin(), nodes.end(), [type](const auto& node) { return node.type == type; });
  return found != nodes.end() ? &*found : nullptr;
}

void Choose(const standin::BuiltInNode& node) {
  theApp.NodeTarget = NodeTargetInfo{node.nvsid, node.netId, node.address};
}

TEST(LabSecurityEndToEnd, CoverOpensAndEventsOfPlatesAndContactsArrive) {
  demotest::LoggedInDemo demo(kServerAddress);
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();
  standin::StandinServer& server = demo.Server();

  // The cover: open, "BeginOpen" then "OperationSuccess" from the simulated device.
  const standin::BuiltInNode* cover = NodeOfType(87);
  ASSERT_NE(cover, nullptr);
  Choose(*cover);
  auto* coverPage = dynamic_cast<CCCPage*>(dialog.FindPage("CCCPage"));
  ASSERT_NE(coverPage, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(coverPage));
  coverPage->findChild<QPushButton*>(QStringLiteral("1066"))->click();
  auto* status = coverPage->findChild<QLineEdit*>(QStringLiteral("1072"));
  ASSERT_NE(status, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == QString::fromUtf8("操作成功, 操作为: 打开"); }, kWaitMs))
      << status->text().toStdString();
  EXPECT_EQ(coverPage->IconStateOf(IDC_LAB_STATE), IconState::kOn);
  EXPECT_EQ(coverPage->findChild<QSlider*>(QStringLiteral("1098"))->value(), 2);

  // A plate of the recogniser: 冀A12345.
  const standin::BuiltInNode* recogniser = NodeOfType(12);
  const std::uint32_t nvsid = recogniser != nullptr ? recogniser->nvsid : cover->nvsid;
  const standin::DeviceFrame plate{cover->netId, 40, 12, 0x50, {0, 0, 0, 0, 0, 130, 10, 1, 2, 3, 4, 5}};
  auto* platePage = dynamic_cast<CVLRPage*>(dialog.FindPage("CVLRPage"));
  ASSERT_NE(platePage, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(platePage));
  ASSERT_TRUE(server.Send(standin::IotReply(static_cast<int>(nvsid), plate)));
  auto* plates = platePage->findChild<QTableWidget*>(QStringLiteral("1078"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return plates->rowCount() == 1; }, kWaitMs));
  EXPECT_EQ(plates->item(0, 2)->text(), QString::fromUtf8("冀A12345"));
  EXPECT_EQ(platePage->IconStateOf(IDC_VLR_STATE), IconState::kPending);

  // The battery contact opens: its page shows the on state for its node.
  const standin::DeviceFrame opened{cover->netId, 41, 172, 0x40, {1}};
  theApp.NodeTarget = NodeTargetInfo{cover->nvsid, cover->netId, 41};
  auto* contactPage = dynamic_cast<CDCDBATPage*>(dialog.FindPage("CDCDBATPage"));
  ASSERT_NE(contactPage, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(contactPage));
  ASSERT_TRUE(server.Send(standin::IotReply(static_cast<int>(cover->nvsid), opened)));
  EXPECT_TRUE(QTest::qWaitFor([&] { return contactPage->IconStateOf(IDC_DOOR_STATE) == IconState::kOn; }, kWaitMs));

  demo.EndProgram();
}

}  // namespace
