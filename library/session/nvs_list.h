#pragma once
// The gateway list as the server sends it and the session keeps it: a header
// word, an entry count and fixed 24-byte entries, little-endian.
#include <cstddef>
#include <cstdint>

struct NvsListEntry {
  std::int32_t nvsid;
  std::uint32_t flags;  // bit 0 online, bit 30 adminread, bit 31 alarm
  char name[16];        // wire code page, zero-padded, not terminated when full
};
static_assert(sizeof(NvsListEntry) == 24);

constexpr std::size_t kNvsListCapacity = 1024;
constexpr std::size_t kNvsPageEntries = 128;
constexpr std::size_t kNvsListHeaderSize = 8;
constexpr std::size_t kNvsPageSize = kNvsListHeaderSize + kNvsPageEntries * sizeof(NvsListEntry);  // 3080

constexpr std::uint32_t kNvsOnline = 1u << 0;
constexpr std::uint32_t kNvsAdminRead = 1u << 30;
constexpr std::uint32_t kNvsAlarm = 1u << 31;

struct NvsList {
  std::int32_t header;
  std::int32_t count;
  NvsListEntry entries[kNvsListCapacity];

  // The count as far as the entries reach: never below 0 or above the capacity.
  std::size_t ValidCount() const {
    if (count <= 0) return 0;
    return static_cast<std::size_t>(count) > kNvsListCapacity ? kNvsListCapacity : static_cast<std::size_t>(count);
  }
};
static_assert(sizeof(NvsList) == 24584);
