// What crosses from other threads to the GUI thread: log lines and the
// hand-over of replies from the notification receiver to a page.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <QPlainTextEdit>
#include <QTest>

#include "demo/shell/demo_dlg.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/test_page.h"

namespace {

std::atomic<int> g_qtWarnings{0};

void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtDebugMsg && type != QtInfoMsg) ++g_qtWarnings;
}

class CrossThreadTest : public ::testing::Test {
 protected:
  CrossThreadTest() {
    dialog.SetLocalClock([] { return TimeOfDay{12, 0, 0, 0}; });
    theApp.m_pMainWnd = &dialog;
    g_qtWarnings = 0;
    previousHandler = qInstallMessageHandler(CountWarnings);
  }
  ~CrossThreadTest() override { qInstallMessageHandler(previousHandler); }

  QString Log() { return dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->toPlainText(); }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  CDemoDlg dialog;
  QtMessageHandler previousHandler = nullptr;
};

TEST_F(CrossThreadTest, LogLinesFromAnotherThreadArriveInOrder) {
  std::atomic<bool> done{false};
  std::atomic<int> added{0};
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) added += dialog.AppendLog("line %02d", i);
    added += dialog.AppendLog("%s", "");
    done = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 10000));
  worker.join();
  EXPECT_EQ(added.load(), 20);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Log().count(QLatin1Char('\n')) == 20; }, 10000));
  QString expected;
  for (int i = 0; i < 20; ++i) expected += QStringLiteral("12:00:00.000: line %1\n").arg(i, 2, 10, QLatin1Char('0'));
  EXPECT_EQ(Log(), expected);
  EXPECT_EQ(g_qtWarnings.load(), 0);
}

TEST_F(CrossThreadTest, ReceiverWaitsUntilThePageDrained) {
  demotest::TestPage page;
  page.m_replyRules.matchNames = false;
  page.EnsureCreated();
  constexpr int kTexts = 50;
  std::atomic<bool> done{false};
  std::atomic<int> drained{0};
  std::atomic<int> notYetShown{0};
  std::thread receiver([&] {
    for (int i = 0; i < kTexts; ++i) {
      page.QueueReply("text " + std::to_string(i));
      if (dialog.HandOver().Send(page)) ++drained;
      // The send returns only after the drain: nothing is left queued.
      if (page.QueuedReplyCount() != 0) ++notYetShown;
    }
    done = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
  receiver.join();
  EXPECT_EQ(drained.load(), kTexts);
  EXPECT_EQ(notYetShown.load(), 0);
  ASSERT_EQ(page.shown.size(), static_cast<std::size_t>(kTexts));
  for (int i = 0; i < kTexts; ++i) EXPECT_EQ(page.shown[static_cast<std::size_t>(i)].text, "text " + std::to_string(i));
}

TEST_F(CrossThreadTest, ClosingReleasesAWaitingReceiver) {
  demotest::TestPage page;
  page.m_replyRules.matchNames = false;
  page.EnsureCreated();
  std::atomic<int> result{-1};
  std::thread receiver([&] {
    page.QueueReply("late");
    result = dialog.HandOver().Send(page) ? 1 : 0;
  });
  // The GUI thread does not run its loop, as when it is stuck or gone.
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(result.load(), -1);
  dialog.HandOver().Close();
  receiver.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_FALSE(dialog.HandOver().Send(page));
  // The drain that was asked for still runs when the loop runs again.
  ASSERT_TRUE(QTest::qWaitFor([&] { return page.shown.size() == 1; }, 5000));
}

}  // namespace
