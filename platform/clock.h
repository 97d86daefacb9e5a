#pragma once
// Millisecond tick count and sleeping.
#include <cstdint>

namespace plat {

// Milliseconds of the steady clock, truncated to 32 bits (wraps after ~49.7 days).
std::uint32_t TickCount();

// Milliseconds elapsed from `since` to `now`, correct across one wrap.
inline std::uint32_t TicksSince(std::uint32_t since, std::uint32_t now) { return now - since; }

void SleepMs(std::uint32_t milliseconds);

}  // namespace plat
