#include "library/session/adapter_records_vehicles.h"

#include <atomic>
#include <cstring>

#include "library/session/codecs.h"

namespace {

std::time_t SystemClock() { return std::time(nullptr); }

std::atomic<std::time_t (*)()> gClock{&SystemClock};

}  // namespace

std::optional<std::vector<std::uint8_t>> AdapterRecordTable::AddPart(const AdapterRecordKey& key,
                                                                     std::uint8_t expected, std::uint8_t index,
                                                                     std::string_view chars, std::time_t now) {
  std::lock_guard lock(mutex_);
  for (auto it = entries_.begin(); it != entries_.end();)
    it = now - it->second.firstArrival >= kStaleSeconds ? entries_.erase(it) : std::next(it);

  if (index < 1 || index > kMaxParts) return std::nullopt;
  auto found = entries_.find(key);
  if (found == entries_.end()) {
    if (expected < 1 || expected > kMaxParts || index > expected) return std::nullopt;
    found = entries_.emplace(key, Entry{}).first;
    found->second.firstArrival = now;
    found->second.expected = expected;
  }
  Entry& entry = found->second;
  if (index > entry.expected) return std::nullopt;

  char* slot = entry.text + (index - 1) * kPartChars;
  const std::size_t used = chars.size() < kPartChars ? chars.size() : kPartChars;
  std::memset(slot, 0, kPartChars);
  if (used > 0) std::memcpy(slot, chars.data(), used);
  entry.received.set(index - 1u);
  for (std::size_t part = 0; part < entry.expected; ++part)
    if (!entry.received.test(part)) return std::nullopt;

  const std::size_t length = strnlen(entry.text, kTextChars);
  std::vector<std::uint8_t> bytes(kTextChars / 2, 0);
  const bool usable = length >= 2 * kRecordBytes && HexToBytes(bytes.data(), bytes.size(), entry.text) == 0;
  entries_.erase(found);
  if (!usable) return std::nullopt;
  bytes.resize(length / 2);
  return bytes;
}

std::size_t AdapterRecordTable::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

AdapterRecordTable& TheAdapterRecords() {
  static AdapterRecordTable table;
  return table;
}

std::time_t AdapterRecordClock() { return gClock.load()(); }

void SetAdapterRecordClockForTesting(std::time_t (*clock)()) { gClock = clock ? clock : &SystemClock; }
