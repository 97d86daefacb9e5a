#pragma once
// The waits and ports of a session, in one place. Sessions copy the current
// values when they are constructed; tests shorten them through the
// ForTesting functions, which are not part of the library's interface.
#include <cstdint>

struct SessionTiming {
  std::uint16_t serverPort = 4073;          // CMSCP port of the platform server
  std::uint32_t connectWaitMs = 5000;       // CM_Login's wait for the connection
  std::uint32_t helloWaitMs = 8000;         // wait for the server's "hello"
  std::uint32_t loginWaitMs = 8000;         // wait for "loginack"
  std::uint32_t keepAliveMs = 20000;        // period of the "connect" keep-alive
  std::uint32_t reconnectMs = 35000;        // period of the reconnect thread
  std::uint32_t sendCompletionMs = 5000;    // longest wait for a block to leave a full send buffer
  std::uint32_t waitPollMs = 10;            // step of the pumping waits
  std::uint32_t pollNodesMs = 1300;         // pause after each "reqallnodesdata" of the poll pass
  std::uint32_t pollCameraMs = 2000;        // pause after each "getcaminfo"
  std::uint32_t purgeMs = 1000;             // period of the purge and least age of a notification copy
  std::uint16_t mediaPort = 4290;           // media connection port of the platform server
  std::uint32_t callWaitStepMs = 50;        // step of the waits for a call's answer
};

SessionTiming CurrentSessionTiming();
void SetSessionTimingForTesting(const SessionTiming& timing);
void ResetSessionTimingForTesting();
