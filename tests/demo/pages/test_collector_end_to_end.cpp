// The temperature and humidity, anemometer and card reader pages against
// the stand-in: the real library logs in on a loopback address of its own, a
// button sends the command, and the simulated device's reply comes back
// through the UDP receiver to the page.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "demo/pages/collector_pages.h"
#include "demo/pages/reader_adapter_pages.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"
#include "tools/iot_frames.h"

namespace {

constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

QString EditText(QWidget* page, int id) {
  auto* edit = page->findChild<QLineEdit*>(QString::number(id));
  return edit != nullptr ? edit->text() : QString();
}

void Click(QWidget* page, int id) {
  auto* button = page->findChild<QPushButton*>(QString::number(id));
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

TEST(CollectorEndToEnd, SingleSampleWindSpeedAndACardFromTheStandin) {
  demotest::LoggedInDemo demo("127.0.61.25");
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();
  // A temperature and humidity collector at node 2 of the lab gateway.
  theApp.NodeTarget = NodeTargetInfo{1000001, 1, 2};
  CPropertyPage* thdc = dialog.FindPage("CTHDCPage");
  ASSERT_TRUE(dialog.Sheet().SetActivePage(thdc));
  Click(thdc, IDC_COLLECTOR_SAMPLING);
  EXPECT_TRUE(QTest::qWaitFor([&] { return EditText(thdc, 1079) == QStringLiteral("25.3"); }, kWaitMs))
      << EditText(thdc, 1079).toStdString();
  EXPECT_EQ(EditText(thdc, 1080), QStringLiteral("60.1"));
  EXPECT_EQ(dynamic_cast<KitPage*>(thdc)->IconStateOf(IDC_COLLECTOR_STATE), IconState::kPending);

  // The adapter at node 1 has an anemometer; its 57 tenths of m/s come as
  // the whole metres per second.
  theApp.NodeTarget = NodeTargetInfo{1000001, 1, 1};
  CPropertyPage* anemometer = dialog.FindPage("CAdapterFSPage");
  ASSERT_TRUE(dialog.Sheet().SetActivePage(anemometer));
  Click(anemometer, IDC_ADAPTER_GET_DATA);
  EXPECT_TRUE(QTest::qWaitFor([&] { return EditText(anemometer, IDC_ADAPTER_WIND_SPEED) == QStringLiteral("5"); },
                              kWaitMs))
      << EditText(anemometer, IDC_ADAPTER_WIND_SPEED).toStdString();

  // The 13.56 MHz card reader at node 2 is not simulated: its card report
  // is injected as the frame the reader sends by itself.
  theApp.NodeTarget = NodeTargetInfo{1000001, 1, 2};
  CPropertyPage* reader = dialog.FindPage("CRFIDControl13M56Page");
  ASSERT_TRUE(dialog.Sheet().SetActivePage(reader));
  ASSERT_TRUE(
      demo.Server().Send(standin::IotReply(1000001, standin::DeviceFrame{1, 2, 91, 0x43, {0x78, 0x56, 0x34, 0x12}})));
  EXPECT_TRUE(QTest::qWaitFor([&] { return EditText(reader, IDC_RFID_CARD) == QStringLiteral("12345678"); }, kWaitMs))
      << EditText(reader, IDC_RFID_CARD).toStdString();
  EXPECT_EQ(EditText(reader, IDC_RFID_CARD_TYPE), QStringLiteral("A"));
  demo.EndProgram();
}

}  // namespace
