// The thread of the library's thread notifications: its queue exists when
// its id is handed out, it takes the notifications, and it ends on the quit
// message with that message's code.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "demo/notify/notify_thread.h"
#include "sentrell.h"
#include "sentrellplatform.h"

namespace {

TEST(NotifyThread, TakesNotificationsAndEndsOnQuit) {
  CNotifyThread thread;
  const std::uint32_t id = thread.ThreadId();
  ASSERT_NE(id, 0u);
  ASSERT_NE(id, PlatCurrentThreadId());
  for (const NotifyMessageId message : {NOTIFY_NVSLIST, NOTIFY_NODEMSG})
    EXPECT_EQ(PlatPostThreadMessage(id, message, 0, 0), 1);
  ASSERT_EQ(PlatPostThreadMessage(id, PLAT_WM_QUIT, 7, 0), 1);
  // Once the loop has ended the thread's queue is gone.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (PlatPostThreadMessage(id, NOTIFY_NVSLIST, 0, 0) == 1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  thread.Stop();
  EXPECT_EQ(thread.ExitCode(), 7);
  EXPECT_EQ(PlatPostThreadMessage(id, NOTIFY_NVSLIST, 0, 0), 0);
}

TEST(NotifyThread, StopsWhenDestroyed) {
  std::uint32_t id = 0;
  {
    CNotifyThread thread;
    id = thread.ThreadId();
    EXPECT_EQ(PlatPostThreadMessage(id, NOTIFY_NVSLIST, 0, 0), 1);
  }
  EXPECT_EQ(PlatPostThreadMessage(id, NOTIFY_NVSLIST, 0, 0), 0);
}

}  // namespace
