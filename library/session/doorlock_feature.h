#pragma once
// The fingerprint feature that a fingerprint lock sends in six part frames
// (function byte 0x52), put together again. One record per lock (gateway,
// net id, node address), shared by every session of the process and guarded
// by a lock, so that the parts of two locks never mix.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "library/session/iot_reply.h"

constexpr std::size_t kFeatureBytes = 193;

struct FingerprintFeature {
  std::uint16_t user = 0;
  std::uint8_t permission = 0;
  std::array<std::uint8_t, kFeatureBytes> bytes{};
};

// Takes one part frame: payload byte 1 is the data length n, the part number
// (1 to 6) the byte at 3 + n. Part 1 starts the set again and carries the
// user, the permission and the first bytes; parts 2 to 5 the middle and part
// 6 the last bytes. A part with another number, or whose bytes would not lie
// within the feature, is ignored. Gives the whole feature when the part is a
// part 6 and all six have arrived since the last part 1.
std::optional<FingerprintFeature> TakeFingerprintPart(const IotReply& reply);
