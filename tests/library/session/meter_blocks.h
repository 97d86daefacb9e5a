#pragma once
// The meters' command blocks as the tests expect them: meter 12345678 with
// the codes 0x04030201 and 0x08070605.
#include <cstdint>
#include <vector>

namespace metertest {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint32_t kLow = 12345678, kHigh = 0, kCode1 = 0x04030201, kCode2 = 0x08070605;
inline const Bytes kAddress = {0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0};

// The electricity meter's 24-byte block around its 4 bytes of operation data.
inline Bytes Block(std::uint8_t operation, const Bytes& data) {
  Bytes b = {operation, 0, 0, 0};
  b.insert(b.end(), kAddress.begin(), kAddress.end());
  b.insert(b.end(), {1, 2, 3, 4, 5, 6, 7, 8});
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// The water and gas meters' block, with the calibration value when given.
inline Bytes Meter(std::uint8_t operation, const Bytes& value = {}) {
  Bytes b = {operation, 0, 0, 0};
  b.insert(b.end(), kAddress.begin(), kAddress.end());
  b.insert(b.end(), value.begin(), value.end());
  return b;
}

}  // namespace metertest
