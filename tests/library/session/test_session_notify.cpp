#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "library/session/iot_session.h"
#include "library/session/notify_copies.h"
#include "library/session/session_timing.h"
#include "sentrellplatform.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

// A UDP receiver on 127.0.0.1 with a free port.
class UdpSink {
 public:
  UdpSink() {
    fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    socklen_t length = sizeof sa;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &length);
    port_ = ntohs(sa.sin_port);
  }
  ~UdpSink() { ::close(fd_); }
  int port() const { return port_; }
  // The next datagram within `timeoutMs`, or nothing.
  std::optional<std::string> Next(int timeoutMs = 2000) {
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) != 1) return std::nullopt;
    std::vector<char> buffer(70000);
    const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
    if (n < 0) return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(n));
  }

 private:
  int fd_;
  int port_ = 0;
};

struct Received {
  std::uint32_t message;
  std::string text;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

intptr_t RecordWindow(PlatWindow, uint32_t message, uintptr_t wParam, intptr_t lParam, void* user) {
  const char* text = reinterpret_cast<const char*>(wParam);
  static_cast<std::vector<Received>*>(user)->push_back({message, text ? std::string(text) : "", wParam, lParam});
  return 0;
}

class Notifications : public ::testing::Test {
 protected:
  void SetUp() override {
    SessionTiming timing;
    timing.purgeMs = 30;
    SetSessionTimingForTesting(timing);
    session = std::make_unique<CIotSession>();
  }
  void TearDown() override {
    session.reset();
    ResetSessionTimingForTesting();
  }
  std::unique_ptr<CIotSession> session;
};

const std::string kNodeText = "{\"data\":{},\"version\":2}\n";

}  // namespace

TEST_F(Notifications, NothingIsDeliveredOrKeptWithoutTargets) {
  session->PostNotify(NOTIFY_NODEMSG, 1, 2, 3, kNodeText.c_str(), kNodeText.size());
  EXPECT_EQ(session->NotifyCopiesHeld(), 0u);
}

TEST_F(Notifications, OneNodeMessageReachesWindowThreadAndUdpWithTheSameBytes) {
  UdpSink sink;
  std::vector<Received> windowGot;
  std::vector<PlatMsg> threadGot;
  std::atomic<PlatWindow> window{nullptr};
  std::atomic<uint32_t> threadId{0};
  std::atomic<bool> posted{false};
  std::thread owner([&] {
    window = PlatRegisterWindow(&RecordWindow, &windowGot);
    threadId = PlatCurrentThreadId();
    ASSERT_TRUE(WaitUntil([&] { return posted.load(); }));
    PlatMsg msg{};
    for (int i = 0; i < 2; ++i) {
      ASSERT_EQ(PlatGetMessage(&msg, 2000), 1);
      if (msg.window) PlatDispatchMessage(&msg);
      else threadGot.push_back(msg);
    }
    // Read the thread copy while it is still the library's.
    windowGot.push_back({threadGot[0].message, reinterpret_cast<const char*>(threadGot[0].wParam),
                         threadGot[0].wParam, threadGot[0].lParam});
    PlatUnregisterWindow(window);
  });
  ASSERT_TRUE(WaitUntil([&] { return window.load() != nullptr && threadId.load() != 0; }));
  session->SetNotifyWindow(window);
  session->SetNotifyThreadId(threadId);
  session->SetNotifyUdpPort(sink.port());
  EXPECT_EQ(session->PostNotify(NOTIFY_NODEMSG, 1, 2, 3, kNodeText.c_str(), kNodeText.size()), 1);
  EXPECT_EQ(session->NotifyCopiesHeld(), 2u);
  posted = true;
  owner.join();
  ASSERT_EQ(windowGot.size(), 2u);
  for (const auto& got : windowGot) {
    EXPECT_EQ(got.message, 0x27F0u);
    EXPECT_EQ(got.text, kNodeText);
    EXPECT_EQ(got.lParam, static_cast<std::intptr_t>(kNodeText.size() + 1));
  }
  EXPECT_NE(windowGot[0].wParam, windowGot[1].wParam) << "each target has its own copy";
  const auto datagram = sink.Next();
  ASSERT_TRUE(datagram);
  EXPECT_EQ(*datagram, "VER=2.1&MSG=NODEMSG&DAT=" + kNodeText + std::string(1, '\0'));
  EXPECT_EQ(datagram->size(), 25 + kNodeText.size());
  // Both copies were taken: the purge frees them.
  EXPECT_TRUE(WaitUntil([&] { return session->NotifyCopiesHeld() == 0; }));
}

TEST_F(Notifications, ListNotificationCarriesNoText) {
  UdpSink sink;
  PlatEnsureThreadQueue();
  session->SetNotifyThreadId(PlatCurrentThreadId());
  session->SetNotifyUdpPort(sink.port());
  session->PostNotify(NOTIFY_NVSLIST, 0, 0, 0, nullptr, 0);
  PlatMsg msg{};
  ASSERT_EQ(PlatGetMessage(&msg, 1000), 1);
  EXPECT_EQ(msg.message, 0x27F1u);
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(msg.lParam, 0);
  EXPECT_EQ(session->NotifyCopiesHeld(), 0u);
  const auto datagram = sink.Next();
  ASSERT_TRUE(datagram);
  EXPECT_EQ(*datagram, std::string("VER=2.1&MSG=NVSLIST&DAT=(null)", 31));
  EXPECT_EQ(datagram->size(), 31u);
}

TEST_F(Notifications, UdpDestinationIsThePortOfTheFirstDatagramAndZeroStopsThem) {
  UdpSink first, second;
  session->SetNotifyUdpPort(first.port());
  session->PostNotify(NOTIFY_WARNMSG, 0, 0, 0, "a", 1);
  ASSERT_TRUE(first.Next());
  session->SetNotifyUdpPort(second.port());
  session->PostNotify(NOTIFY_WARNMSG, 0, 0, 0, "b", 1);
  const auto moved = first.Next();
  ASSERT_TRUE(moved);
  EXPECT_EQ(*moved, std::string("VER=2.1&MSG=WARNMSG&DAT=b", 26));
  EXPECT_FALSE(second.Next(100));
  session->SetNotifyUdpPort(0);
  session->PostNotify(NOTIFY_WARNMSG, 0, 0, 0, "c", 1);
  EXPECT_FALSE(first.Next(100));
}

TEST_F(Notifications, TextTooLongForADatagramStillReachesTheQueues) {
  UdpSink sink;
  PlatEnsureThreadQueue();
  session->SetNotifyThreadId(PlatCurrentThreadId());
  session->SetNotifyUdpPort(sink.port());
  const std::string fits(4096 - 25, 'x'), tooLong(4096 - 24, 'x');
  session->PostNotify(NOTIFY_NODEMSG, 0, 0, 0, fits.c_str(), fits.size());
  const auto datagram = sink.Next();
  ASSERT_TRUE(datagram);
  EXPECT_EQ(datagram->size(), 4096u);
  session->PostNotify(NOTIFY_NODEMSG, 0, 0, 0, tooLong.c_str(), tooLong.size());
  EXPECT_FALSE(sink.Next(100));
  PlatMsg msg{};
  ASSERT_EQ(PlatGetMessage(&msg, 1000), 1);
  ASSERT_EQ(PlatGetMessage(&msg, 1000), 1);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(msg.wParam)), tooLong.size());
}

TEST_F(Notifications, CopyWaitingInAQueueOutlivesThePurge) {
  PlatEnsureThreadQueue();
  session->SetNotifyThreadId(PlatCurrentThreadId());
  session->PostNotify(NOTIFY_NODEMSG, 0, 0, 0, kNodeText.c_str(), kNodeText.size());
  std::this_thread::sleep_for(200ms);  // many purge periods
  EXPECT_EQ(session->NotifyCopiesHeld(), 1u);
  PlatMsg msg{};
  ASSERT_EQ(PlatGetMessage(&msg, 100), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(msg.wParam)), kNodeText);
  EXPECT_TRUE(WaitUntil([&] { return session->NotifyCopiesHeld() == 0; }));
}

TEST_F(Notifications, CopiesOfUnreachableTargetsAreFreedAndTheRestGoWithTheSession) {
  session->SetNotifyThreadId(0xFFFFFF);  // no such thread
  session->PostNotify(NOTIFY_NODEMSG, 0, 0, 0, "x", 1);
  EXPECT_TRUE(WaitUntil([&] { return session->NotifyCopiesHeld() == 0; }));
  PlatEnsureThreadQueue();
  session->SetNotifyThreadId(PlatCurrentThreadId());
  session->PostNotify(NOTIFY_NODEMSG, 0, 0, 0, "y", 1);
  session.reset();  // LeakSanitizer checks that the waiting copy was freed
  PlatMsg msg{};
  while (PlatPeekMessage(&msg, 0, 0, 1)) {
  }
}

TEST(NotifyCopiesRegister, FreedOnlyWhenOldTakenAndGivenTimeToBeRead) {
  bool queued = true;
  NotifyCopies copies(1000, [&](std::uint32_t, std::uintptr_t) { return queued; });
  copies.Add("abc", 0x27F0, 5000);
  EXPECT_EQ(copies.Purge(6001), 0u);  // old but still queued
  queued = false;
  EXPECT_EQ(copies.Purge(6500), 0u);  // seen taken now
  EXPECT_EQ(copies.Purge(7400), 0u);
  EXPECT_EQ(copies.Purge(7501), 1u);
  EXPECT_EQ(copies.Size(), 0u);
  // Young copies are never freed, whatever their queue says; the tick may wrap.
  copies.Add("d", 0x27F0, 0xFFFFFF00u);
  EXPECT_EQ(copies.Purge(0x00000010u), 0u);
  EXPECT_EQ(copies.Purge(0x00000400u), 0u);
  EXPECT_EQ(copies.Purge(0x00000900u), 1u);
}
