#include "bench/loopback_standin.h"

#include "library/session/session_timing.h"

namespace bench {

LoopbackStandin::LoopbackStandin() {
  running_ = server_.Start("127.0.0.1", 0);
  SessionTiming timing = CurrentSessionTiming();
  timing.serverPort = server_.Port();
  SetSessionTimingForTesting(timing);
}

LoopbackStandin::~LoopbackStandin() {
  server_.Stop();
  ResetSessionTimingForTesting();
}

Handle LoopbackStandin::LogIn() const {
  Handle handle(CM_Init(1));
  if (!handle || CM_Login(handle.get(), "127.0.0.1", "admin", "1") != 1) return {};
  return handle;
}

}  // namespace bench
