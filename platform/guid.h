#pragma once
#include <array>
#include <cstdint>

namespace plat {
// 16 random bytes for a globally unique identifier.
std::array<std::uint8_t, 16> NewGuidBytes();
}  // namespace plat
