// The water meter page with the real library and the stand-in: the meter
// number asked for, the simulated meter's answer on the page, then a
// calibration that carries that number.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "demo/pages/meter_pages.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"

namespace {

// An address of the loopback network of its own keeps this test apart from others.
constexpr const char* kServerAddress = "127.0.67.1";
constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

TEST(MeterPagesEndToEnd, WaterMeterNumberAndCalibration) {
  demotest::LoggedInDemo demo(kServerAddress);
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();
  // The built-in lab gateway's water meter.
  theApp.NodeTarget = NodeTargetInfo{1000001, 1, 20};
  auto* water = dynamic_cast<CWaterMeterControl*>(dialog.FindPage("CWaterMeterControl"));
  ASSERT_NE(water, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(water));

  auto* number = water->findChild<QLineEdit*>(QString::number(IDC_METER_NUMBER));
  auto* alarm = water->findChild<QLineEdit*>(QString::number(IDC_WM_ALARM));
  ASSERT_NE(number, nullptr);
  ASSERT_NE(alarm, nullptr);
  water->findChild<QPushButton*>(QString::number(IDC_WM_QUERY_METER_NUMBER))->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return number->text() == QStringLiteral("87654321"); }, kWaitMs))
      << number->text().toStdString();
  EXPECT_EQ(water->MeterAddress(), 87654321u);

  water->findChild<QLineEdit*>(QString::number(IDC_WM_CALIBRATION))->setText(QStringLiteral("2.5"));
  water->findChild<QPushButton*>(QString::number(IDC_WM_CALIBRATE))->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return alarm->text() == QStringLiteral("Calibrate"); }, kWaitMs));
  EXPECT_TRUE(demo.Ui().messages.isEmpty());

  water->findChild<QPushButton*>(QString::number(IDC_WM_QUERY_READING))->click();
  auto* reading = water->findChild<QLineEdit*>(QString::number(IDC_WM_READING));
  ASSERT_TRUE(QTest::qWaitFor([&] { return reading->text() == QStringLiteral("2.5"); }, kWaitMs))
      << reading->text().toStdString();

  demo.EndProgram();
}

}  // namespace
