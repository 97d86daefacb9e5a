#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "sentrellplatform.h"
#include "support/wait_until.h"

namespace {

struct Delivery {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  uint32_t thread;
};

intptr_t RecordingProc(PlatWindow, uint32_t message, uintptr_t wParam, intptr_t lParam, void* user) {
  static_cast<std::vector<Delivery>*>(user)->push_back({message, wParam, lParam, PlatCurrentThreadId()});
  return 7;
}

}  // namespace

TEST(MessageQueue, WindowProcedureRunsOnItsOwnerThreadWhenThatThreadPumps) {
  std::vector<Delivery> deliveries;
  std::atomic<PlatWindow> window{nullptr};
  std::atomic<bool> posted{false};
  uint32_t ownerId = 0;
  std::thread owner([&] {
    ownerId = PlatCurrentThreadId();
    window = PlatRegisterWindow(&RecordingProc, &deliveries);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return posted.load(); }));
    for (int i = 0; i < 100 && deliveries.size() < 2; ++i) {
      if (!PlatPumpOne(0, 0)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    PlatUnregisterWindow(window);
  });
  ASSERT_TRUE(testsupport::WaitUntil([&] { return window.load() != nullptr; }));
  EXPECT_EQ(PlatPostMessage(window, 0x27F0, 11, 22), 1);
  EXPECT_EQ(PlatPostMessage(window, 0x27F1, 0, 0), 1);
  // Nothing runs on the posting thread.
  EXPECT_TRUE(deliveries.empty());
  posted = true;
  owner.join();
  ASSERT_EQ(deliveries.size(), 2u);
  EXPECT_EQ(deliveries[0].message, 0x27F0u);
  EXPECT_EQ(deliveries[0].wParam, 11u);
  EXPECT_EQ(deliveries[0].lParam, 22);
  EXPECT_EQ(deliveries[0].thread, ownerId);
  EXPECT_EQ(deliveries[1].message, 0x27F1u);
}

TEST(MessageQueue, ThreadMessageReachesGetMessageAndQuitEndsTheLoop) {
  std::atomic<uint32_t> id{0};
  std::vector<PlatMsg> got;
  int lastResult = 99;
  std::thread receiver([&] {
    PlatEnsureThreadQueue();
    id = PlatCurrentThreadId();
    PlatMsg msg{};
    for (int i = 0; i < 10; ++i) {
      lastResult = PlatGetMessage(&msg, 3000);
      if (lastResult != 1) break;
      got.push_back(msg);
    }
  });
  ASSERT_TRUE(testsupport::WaitUntil([&] { return id.load() != 0; }));
  EXPECT_EQ(PlatPostThreadMessage(id, 0x27F2, 5, 6), 1);
  EXPECT_EQ(PlatPostThreadMessage(id, PLAT_WM_QUIT, 0, 0), 1);
  receiver.join();
  EXPECT_EQ(lastResult, 0);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].window, nullptr);
  EXPECT_EQ(got[0].message, 0x27F2u);
  EXPECT_EQ(got[0].wParam, 5u);
  EXPECT_EQ(got[0].lParam, 6);
}

TEST(MessageQueue, PostingFailsForUnknownWindowsAndThreadsWithoutQueue) {
  EXPECT_EQ(PlatPostMessage(reinterpret_cast<PlatWindow>(uintptr_t{0xDEAD}), 1, 0, 0), 0);
  EXPECT_EQ(PlatPostMessage(nullptr, 1, 0, 0), 0);
  std::atomic<uint32_t> id{0};
  std::atomic<bool> done{false};
  std::thread noQueue([&] {
    id = PlatCurrentThreadId();
    testsupport::WaitUntil([&] { return done.load(); });
  });
  ASSERT_TRUE(testsupport::WaitUntil([&] { return id.load() != 0; }));
  EXPECT_EQ(PlatPostThreadMessage(id, 1, 0, 0), 0);
  done = true;
  noQueue.join();
}

TEST(MessageQueue, FinishedThreadLosesItsQueueAndWindows) {
  uint32_t id = 0;
  PlatWindow window = nullptr;
  std::vector<Delivery> deliveries;
  std::thread worker([&] {
    id = PlatCurrentThreadId();
    window = PlatRegisterWindow(&RecordingProc, &deliveries);
  });
  worker.join();
  EXPECT_EQ(PlatPostThreadMessage(id, 1, 0, 0), 0);
  EXPECT_EQ(PlatPostMessage(window, 1, 0, 0), 0);
  EXPECT_EQ(PlatIsWindow(window), 0);
}

TEST(MessageQueue, PeekFiltersByRangeAndDispatchOnlyOnOwnerThread) {
  std::vector<Delivery> deliveries;
  PlatWindow window = PlatRegisterWindow(&RecordingProc, &deliveries);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(PlatPostMessage(window, 0x27F0, 0, 0), 1);
  ASSERT_EQ(PlatPostMessage(window, 0x0100, 0, 0), 1);
  PlatMsg msg{};
  // The notification id lies above the range that waits dispatch.
  ASSERT_EQ(PlatPeekMessage(&msg, 0, PLAT_WM_USER, 1), 1);
  EXPECT_EQ(msg.message, 0x0100u);
  EXPECT_EQ(PlatPeekMessage(&msg, 0, PLAT_WM_USER, 1), 0);
  ASSERT_EQ(PlatPeekMessage(&msg, 0, 0, 0), 1);  // look without taking
  EXPECT_EQ(msg.message, 0x27F0u);
  ASSERT_EQ(PlatPeekMessage(&msg, 0, 0, 1), 1);
  intptr_t fromOther = -1;
  std::thread other([&] { fromOther = PlatDispatchMessage(&msg); });
  other.join();
  EXPECT_EQ(fromOther, 0);
  EXPECT_TRUE(deliveries.empty());
  EXPECT_EQ(PlatDispatchMessage(&msg), 7);
  EXPECT_EQ(deliveries.size(), 1u);
  PlatUnregisterWindow(window);
}

TEST(MessageQueue, PumpHookRunsWhilePumpingAnEmptyQueue) {
  int calls = 0;
  PlatSetPumpHook([](void* user) { ++*static_cast<int*>(user); }, &calls);
  EXPECT_EQ(PlatPumpOne(0, 0), 0);
  EXPECT_EQ(PlatPumpOne(0, 0x400), 0);
  EXPECT_EQ(calls, 2);
  PlatSetPumpHook(nullptr, nullptr);
  PlatPumpOne(0, 0);
  EXPECT_EQ(calls, 2);
}

TEST(MessageQueue, GetMessageTimesOut) {
  PlatMsg msg{};
  EXPECT_EQ(PlatGetMessage(&msg, 20), -1);
}

TEST(TextHooks, MessageBoxAndDebugOutputGoToTheirHooks) {
  std::vector<std::string> boxes, debug;
  PlatSetMessageBoxHook([](const char* t, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(t); },
                        &boxes);
  PlatSetDebugSink([](const char* t, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(t); },
                   &debug);
  PlatMessageBox("Buffer overflow!");
  PlatDebugOutput("line\n");
  PlatSetMessageBoxHook(nullptr, nullptr);
  PlatSetDebugSink(nullptr, nullptr);
  EXPECT_EQ(boxes, std::vector<std::string>{"Buffer overflow!"});
  EXPECT_EQ(debug, std::vector<std::string>{"line\n"});
}
