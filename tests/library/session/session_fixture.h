#pragma once
// A stand-in server on 127.0.0.1 with a free port, and session timings
// shortened so that waits, the keep-alive and reconnection take milliseconds.
#include <gtest/gtest.h>

#include "library/session/session_timing.h"
#include "tools/standin_server.h"

class StandinSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start("127.0.0.1", 0));
    timing.serverPort = server.Port();
    timing.connectWaitMs = 1000;
    timing.helloWaitMs = 1500;  // room for loaded sanitizer runs; the unanswered cases wait this long
    timing.loginWaitMs = 1500;
    timing.keepAliveMs = 60000;
    timing.reconnectMs = 60000;
    timing.sendCompletionMs = 500;
    timing.waitPollMs = 2;
    SetSessionTimingForTesting(timing);
  }
  void TearDown() override {
    server.Stop();
    ResetSessionTimingForTesting();
  }
  void ApplyTiming() { SetSessionTimingForTesting(timing); }

  standin::StandinServer server;
  SessionTiming timing;
};
