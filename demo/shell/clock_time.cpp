#include "demo/shell/clock_time.h"

#include <chrono>
#include <ctime>

namespace {

TimeOfDay Now(bool utc) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto sinceEpoch = now.time_since_epoch();
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - std::chrono::floor<std::chrono::seconds>(sinceEpoch));
  std::tm parts{};
  if (utc) {
    gmtime_r(&seconds, &parts);
  } else {
    localtime_r(&seconds, &parts);
  }
  return TimeOfDay{parts.tm_hour, parts.tm_min, parts.tm_sec, static_cast<int>(millis.count())};
}

}  // namespace

TimeOfDay CurrentLocalTime() { return Now(false); }
TimeOfDay CurrentUtcTime() { return Now(true); }
