#include <thread>

#include <gtest/gtest.h>

#include "platform/manual_reset_event.h"

TEST(ManualResetEvent, StaysSetForEveryWaiterUntilReset) {
  plat::ManualResetEvent event;
  EXPECT_FALSE(event.WaitFor(5));
  std::thread setter([&] { event.Set(); });
  EXPECT_TRUE(event.WaitFor(3000));
  setter.join();
  EXPECT_TRUE(event.WaitFor(0));
  EXPECT_TRUE(event.IsSet());
  event.Reset();
  EXPECT_FALSE(event.WaitFor(5));
}

TEST(ManualResetEvent, ReleasesAllWaiters) {
  plat::ManualResetEvent event;
  int released = 0;
  std::mutex m;
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i)
    waiters.emplace_back([&] {
      if (event.WaitFor(3000)) {
        std::lock_guard lock(m);
        ++released;
      }
    });
  event.Set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(released, 4);
}
