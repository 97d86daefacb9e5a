#pragma once
// The date and time texts of the lock commands: "%d-%d-%d %d:%d:%d".
#include <optional>
#include <string_view>

struct LockClock {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The clock of the text, read the way "%d-%d-%d %d:%d:%d" reads it (blanks
// before each number, an optional sign, anything after the seconds ignored),
// or nothing when six numbers do not read or they name no real date and time
// of the years 1 to 9999. A number too large for an int does not read.
std::optional<LockClock> ParseLockClock(std::string_view text);
