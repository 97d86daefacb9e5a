#pragma once
// The weather-station records of the sensor adapters, which arrive as hex
// text split over up to ten frames and are put together here.
//
// One table serves the process. Its entries are kept apart per receiving
// thread (every session reads its server connection on a thread of its
// own), gateway, node and record key, so that neither two adapters nor two
// sessions watching the same adapter mix their parts; a lock guards it. A
// record is complete only when every part from 1 to the expected count has
// arrived; a repeated part replaces its slice and does not count twice. An
// entry whose first part is 10 or more seconds old is dropped when the next
// part of any record arrives.
#include <bitset>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

struct AdapterRecordKey {
  std::thread::id receiver;
  std::uint32_t nvsid = 0;
  std::uint16_t netId = 0;
  std::uint16_t nodeAddress = 0;
  std::uint8_t record = 0;

  auto operator<=>(const AdapterRecordKey&) const = default;
};

class AdapterRecordTable {
 public:
  static constexpr std::size_t kMaxParts = 10;
  static constexpr std::size_t kPartChars = 48;
  static constexpr std::size_t kTextChars = kMaxParts * kPartChars;  // 480
  static constexpr std::size_t kRecordBytes = 55;
  static constexpr std::time_t kStaleSeconds = 10;

  // Takes part `index` (from 1) of a record of `expected` parts, whose slice
  // is `chars` (at most 48 characters are used; a shorter slice ends the
  // text there). Returns the record's bytes (at least 55) when this part
  // completes it, and forgets the record then. A part with an index or an
  // expected count outside 1 to 10, or an index above the record's expected
  // count, is dropped; so is a complete record whose text is not an even
  // number of hex digits or gives fewer than 55 bytes.
  std::optional<std::vector<std::uint8_t>> AddPart(const AdapterRecordKey& key, std::uint8_t expected,
                                                   std::uint8_t index, std::string_view chars, std::time_t now);
  std::size_t Size() const;

 private:
  struct Entry {
    std::time_t firstArrival = 0;
    std::uint8_t expected = 0;
    std::bitset<kMaxParts> received;
    char text[kTextChars + 1] = {};
  };

  mutable std::mutex mutex_;
  std::map<AdapterRecordKey, Entry> entries_;
};

// The table of the process, and the clock (seconds) its parts are stamped
// with; tests may replace the clock (nullptr restores time()).
AdapterRecordTable& TheAdapterRecords();
std::time_t AdapterRecordClock();
void SetAdapterRecordClockForTesting(std::time_t (*clock)());
