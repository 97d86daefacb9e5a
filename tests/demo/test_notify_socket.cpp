// The notification receiver on a real datagram socket of the loopback
// address: replies reach their pages across threads, hostile datagrams
// neither overrun nor stop it, and it ends while a hand-over waits.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <QPlainTextEdit>
#include <QTest>

#include "demo/notify/notify_socket.h"
#include "demo/pages/smart_home_pages.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/reply_texts.h"
#include "tests/demo/udp_test_support.h"

namespace {

using demotest::LibraryDatagram;
using demotest::NodeReply;

constexpr int kWaitMs = 10000;

class NotifySocketTest : public ::testing::Test {
 protected:
  NotifySocketTest() {
    dialog.SetLocalClock([] { return TimeOfDay{8, 0, 0, 0}; });
    theApp.m_pMainWnd = &dialog;
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 1};
    // A port that was free a moment ago may have been taken since.
    for (int attempt = 0; attempt < 20 && port == 0; ++attempt) {
      const std::uint16_t candidate = demotest::FreeUdpPort();
      if (candidate != 0 && receiver->Create(candidate, SOCK_DGRAM, "127.0.0.1") != 0) port = candidate;
    }
  }

  DevicePage& Page(const char* className) { return *dynamic_cast<DevicePage*>(dialog.FindPage(className)); }
  bool Debugged(const std::string& line) const {
    const auto lines = debug.Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // Sends a reply for a page that is never shown and waits until it is
  // queued: everything sent before it has been handled.
  bool Settle() {
    DevicePage& marker = Page("CSphygmoMeterPage");
    const std::size_t before = marker.QueuedReplyCount();
    if (!demotest::SendDatagram(port, LibraryDatagram("NODEMSG", NodeReply("SPHYGMOMETER", "status")))) return false;
    return QTest::qWaitFor([&] { return marker.QueuedReplyCount() == before + 1; }, kWaitMs);
  }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  demotest::FakeApi api;
  demotest::DebugCapture debug;
  CDemoDlg dialog;
  std::unique_ptr<CNotifySocket> receiver = std::make_unique<CNotifySocket>(&dialog);
  std::uint16_t port = 0;
};

TEST_F(NotifySocketTest, ALampReplyReachesTheLampPage) {
  ASSERT_NE(port, 0);
  auto& lamp = dynamic_cast<CLampPage&>(Page("CLampPage"));
  lamp.EnsureCreated();
  ASSERT_TRUE(
      demotest::SendDatagram(port, LibraryDatagram("NODEMSG", NodeReply("LAMP", "status", {{"status", "on"}}))));
  EXPECT_TRUE(QTest::qWaitFor([&] { return lamp.IconStateOf(IDC_STATE_ICON) == IconState::kOn; }, kWaitMs));
  ASSERT_TRUE(
      demotest::SendDatagram(port, LibraryDatagram("NODEMSG", NodeReply("lamp", "STATUS", {{"status", "off"}}))));
  EXPECT_TRUE(QTest::qWaitFor([&] { return lamp.IconStateOf(IDC_STATE_ICON) == IconState::kOff; }, kWaitMs));
  EXPECT_EQ(lamp.QueuedReplyCount(), 0u);
}

TEST_F(NotifySocketTest, HostileDatagramsNeitherOverrunNorStopTheReceiver) {
  ASSERT_NE(port, 0);
  // Exactly the largest datagram, without a NUL: taken up to its end.
  std::string full = "VER=2.1&MSG=NODEMSG&DAT=" + NodeReply("DCDB", "status");
  full.resize(4096, ' ');
  const std::string tooLong = "VER=2.1&MSG=NODEMSG&DAT=" + NodeReply("DCDBAT", "status") + std::string(5000, ' ');
  ASSERT_TRUE(demotest::SendDatagram(port, ""));
  ASSERT_TRUE(demotest::SendDatagram(port, full));
  ASSERT_TRUE(demotest::SendDatagram(port, tooLong));
  ASSERT_TRUE(demotest::SendDatagram(port, "VER=2.1&MSG=" + std::string(4000, 'M') + "&DAT=x"));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Page("CDCDBPage").QueuedReplyCount(), 1u);
  EXPECT_EQ(Page("CDCDBATPage").QueuedReplyCount(), 0u);
  EXPECT_TRUE(Debugged("====Udp message of " + std::to_string(tooLong.size()) +
                       " bytes ignored: longer than 4096 bytes\n"));
  EXPECT_TRUE(Debugged("====Udp message ignored: MSG field too long\n"));
}

TEST_F(NotifySocketTest, AlarmLineArrivesFromTheReceiverThread) {
  ASSERT_NE(port, 0);
  ASSERT_TRUE(demotest::SendDatagram(port, LibraryDatagram("WARNMSG", "smoke %d")));
  QPlainTextEdit* log = dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return log->toPlainText() == QStringLiteral(" 8:00:00.000: smoke %d\n"); },
                              kWaitMs))
      << log->toPlainText().toStdString();
}

TEST_F(NotifySocketTest, ASecondReceiverCannotBindTheSamePort) {
  ASSERT_NE(port, 0);
  CNotifySocket second(&dialog);
  EXPECT_EQ(second.Create(port, SOCK_DGRAM, "127.0.0.1"), 0);
  // The first goes on receiving.
  EXPECT_TRUE(Settle());
}

TEST_F(NotifySocketTest, EndsWhileAHandOverWaits) {
  ASSERT_NE(port, 0);
  DevicePage& lamp = Page("CLampPage");
  lamp.EnsureCreated();
  ASSERT_TRUE(demotest::SendDatagram(port, LibraryDatagram("NODEMSG", NodeReply("LAMP", "status"))));
  // The GUI thread runs no events: the receiver queues and then waits.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  while (lamp.QueuedReplyCount() == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(lamp.QueuedReplyCount(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  receiver.reset();
  EXPECT_EQ(CEventSocket::LiveEventThreads(), 0);
}

}  // namespace
