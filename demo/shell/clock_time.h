#pragma once
// Time of day with milliseconds, as the log and the measurement lists show it.
#include <functional>

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

using TimeSource = std::function<TimeOfDay()>;

TimeOfDay CurrentLocalTime();
TimeOfDay CurrentUtcTime();
