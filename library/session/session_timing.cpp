#include "library/session/session_timing.h"

#include <mutex>

namespace {
std::mutex g_timingMutex;
SessionTiming g_timing;
}  // namespace

SessionTiming CurrentSessionTiming() {
  std::lock_guard lock(g_timingMutex);
  return g_timing;
}

void SetSessionTimingForTesting(const SessionTiming& timing) {
  std::lock_guard lock(g_timingMutex);
  g_timing = timing;
}

void ResetSessionTimingForTesting() { SetSessionTimingForTesting(SessionTiming{}); }
