// The fingerprint lock page through the real library and the stand-in's
// simulated lock: "开门" opens the door and the lock's answers show the open
// door and the operation's result.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "demo/pages/door_lock_pages.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"

namespace {

constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

TEST(DoorLockEndToEnd, OpeningTheDoorShowsTheLocksAnswers) {
  demotest::LoggedInDemo demo("127.0.66.1");
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();
  // The built-in lab gateway's fingerprint lock.
  theApp.NodeTarget = NodeTargetInfo{1000001, 1, 18};
  auto* lock = dynamic_cast<CDLockFingerPage*>(dialog.FindPage("CDLockFingerPage"));
  ASSERT_NE(lock, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(lock));
  lock->findChild<QPushButton*>(QStringLiteral("1131"))->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return lock->IconStateOf(IDC_DLOCK_STATE) == IconState::kOn; }, kWaitMs));
  auto* log = dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"));
  ASSERT_NE(log, nullptr);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return log->toPlainText().contains(QString::fromUtf8("DLOCK: 门开信息")); }, kWaitMs));
  EXPECT_TRUE(log->toPlainText().contains(QString::fromUtf8("DLOCK: 指令开门指令接收成功")))
      << log->toPlainText().toStdString();
  demo.EndProgram();
}

}  // namespace
