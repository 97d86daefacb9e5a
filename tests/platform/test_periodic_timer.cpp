#include <atomic>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "platform/periodic_timer.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;
using testsupport::WaitUntil;

TEST(PeriodicTimer, TicksRepeatedlyUntilStopped) {
  plat::PeriodicTimer timer;
  std::atomic<int> ticks{0};
  ASSERT_TRUE(timer.Start(5, [&] { ++ticks; }));
  EXPECT_TRUE(timer.IsRunning());
  ASSERT_TRUE(WaitUntil([&] { return ticks.load() >= 3; }));
  timer.Stop();
  EXPECT_FALSE(timer.IsRunning());
  const int after = ticks.load();
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(ticks.load(), after);
}

TEST(PeriodicTimer, StopFromOutsideWaitsForARunningCallback) {
  plat::PeriodicTimer timer;
  std::atomic<bool> inside{false}, finished{false};
  ASSERT_TRUE(timer.Start(1, [&] {
    inside = true;
    std::this_thread::sleep_for(50ms);
    finished = true;
  }));
  ASSERT_TRUE(WaitUntil([&] { return inside.load(); }));
  timer.Stop();
  EXPECT_TRUE(finished.load());
}

TEST(PeriodicTimer, StopFromInsideTheCallbackDoesNotDeadlock) {
  plat::PeriodicTimer timer;
  std::atomic<int> ticks{0};
  ASSERT_TRUE(timer.Start(2, [&] {
    ++ticks;
    timer.Stop();
  }));
  ASSERT_TRUE(WaitUntil([&] { return !timer.IsRunning(); }));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks.load(), 1);
}

TEST(PeriodicTimer, RestartFromInsideRunsOnlyTheNewCallback) {
  plat::PeriodicTimer timer;
  std::atomic<int> first{0}, second{0};
  ASSERT_TRUE(timer.Start(2, [&] {
    if (++first == 1) timer.Start(2, [&] { ++second; });
  }));
  ASSERT_TRUE(WaitUntil([&] { return second.load() >= 3; }));
  EXPECT_EQ(first.load(), 1);
  timer.Stop();
}

TEST(PeriodicTimer, DestroyedRightAfterStoppingFromItsCallback) {
  auto timer = std::make_unique<plat::PeriodicTimer>();
  std::atomic<bool> stopped{false};
  ASSERT_TRUE(timer->Start(1, [&] {
    timer->Stop();
    stopped = true;
  }));
  ASSERT_TRUE(WaitUntil([&] { return stopped.load(); }));
  timer.reset();  // the leaving thread must not touch the timer any more
  std::this_thread::sleep_for(10ms);
}

TEST(PeriodicTimer, ZeroPeriodIsRefused) {
  plat::PeriodicTimer timer;
  EXPECT_FALSE(timer.Start(0, [] {}));
  EXPECT_FALSE(timer.IsRunning());
}
