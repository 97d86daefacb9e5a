#include "library/api/commands_doorlock.h"

#include <algorithm>
#include <array>

#include "library/session/codecs.h"

namespace {

constexpr std::uint8_t kDac = 80, kFinger = 96;

std::uint8_t Bcd(int value) { return ByteToBcd(LowByte(value)); }
// Two-digit years: a four-digit year keeps its last two digits.
std::uint8_t BcdYear(int year) { return Bcd(year >= 0 ? year % 100 : year); }

// The sub-header {code, data bytes, group, item} followed by the data.
IotCommand Make(std::uint8_t code, std::uint8_t function, std::uint8_t group, std::uint8_t item,
                std::vector<std::uint8_t> data) {
  IotCommand command{code, function, std::vector<std::uint8_t>(4 + data.size()), true};
  command.payload[0] = code;
  command.payload[1] = static_cast<std::uint8_t>(data.size());
  command.payload[2] = group;
  command.payload[3] = item;
  std::copy(data.begin(), data.end(), command.payload.begin() + 4);
  return command;
}

void PutU16(std::vector<std::uint8_t>& out, int value) {
  out.push_back(LowByte(value));
  out.push_back(LowByte(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, int value) {
  PutU16(out, value);
  PutU16(out, value >> 16);
}

// The caller's bytes in an area of `N` bytes: `length` of them at most (none
// when negative), the rest zero.
template <std::size_t N>
std::array<std::uint8_t, N> Area(const std::uint8_t* data, int length) {
  std::array<std::uint8_t, N> area{};
  if (data != nullptr && length > 0)
    std::copy_n(data, std::min<std::size_t>(static_cast<std::size_t>(length), N), area.begin());
  return area;
}

std::optional<IotCommand> SetTime(std::uint8_t code, std::string_view text) {
  const std::optional<LockClock> c = ParseLockClock(text);
  if (!c) return std::nullopt;
  return Make(code, 16, 1, 1,
              {Bcd(c->second), Bcd(c->minute), Bcd(c->hour), Bcd(c->day),
               static_cast<std::uint8_t>(WeekDayOf(c->year, c->month, c->day)), Bcd(c->month), Bcd(c->year % 100)});
}

IotCommand SetTimeInterval(std::uint8_t code, int hygiene, int work, int overtime, int rest) {
  return Make(code, 17, 2, 1, {Bcd(hygiene), Bcd(work), Bcd(overtime), Bcd(rest)});
}

IotCommand SetWorkdayOfMonth(std::uint8_t code, int year, int month, const std::uint8_t* data, int length) {
  const auto days = Area<kMonthWorkdayBytes>(data, length);
  std::vector<std::uint8_t> bytes = {BcdYear(year), Bcd(month)};
  bytes.insert(bytes.end(), days.begin(), days.end());
  return Make(code, 18, 3, 1, std::move(bytes));
}

std::vector<IotCommand> SetWorkdayOfYear(std::uint8_t code, int year, const std::uint8_t* data, int length) {
  constexpr std::size_t kHalf = kYearWorkdayBytes / 2;
  const auto days = Area<kYearWorkdayBytes>(data, length);
  std::vector<IotCommand> frames;
  for (std::uint8_t part = 1; part <= 2; ++part) {
    std::vector<std::uint8_t> bytes = {BcdYear(year), part};
    const auto from = days.begin() + static_cast<std::ptrdiff_t>((part - 1) * kHalf);
    bytes.insert(bytes.end(), from, from + static_cast<std::ptrdiff_t>(kHalf));
    frames.push_back(Make(code, 19, 3, 2, std::move(bytes)));
  }
  return frames;
}

IotCommand Card(std::uint8_t function, std::uint8_t item, int attribute, int cardNumber, int cardId) {
  std::vector<std::uint8_t> bytes = {LowByte(attribute), 0};
  PutU16(bytes, cardNumber);
  PutU32(bytes, cardId);
  return Make(kDac, function, 4, item, std::move(bytes));
}

IotCommand User(std::uint8_t function, std::uint8_t group, std::uint8_t item, int user) {
  std::vector<std::uint8_t> bytes;
  PutU16(bytes, user);
  return Make(kFinger, function, group, item, std::move(bytes));
}

}  // namespace

// ---- card door access

std::optional<IotCommand> DacSetTime(std::string_view time) { return SetTime(kDac, time); }
IotCommand DacSetTimeInterval(int hygiene, int work, int overtime, int rest) {
  return SetTimeInterval(kDac, hygiene, work, overtime, rest);
}
IotCommand DacSetWorkdayOfMonth(int year, int month, const std::uint8_t* data, int length) {
  return SetWorkdayOfMonth(kDac, year, month, data, length);
}
std::vector<IotCommand> DacSetWorkdayOfYear(int year, const std::uint8_t* data, int length) {
  return SetWorkdayOfYear(kDac, year, data, length);
}

IotCommand DacAddCard(int attribute, int code, int cardNumber, int cardId) {
  // Only the code's six lowest decimal digits travel; taking them first keeps
  // codes of more than eight digits from turning into 000000.
  const std::uint32_t bcd = UInt32ToBcd(static_cast<std::uint32_t>(code) % 1000000u);
  std::vector<std::uint8_t> bytes = {LowByte(attribute), static_cast<std::uint8_t>(bcd),
                                     static_cast<std::uint8_t>(bcd >> 8), static_cast<std::uint8_t>(bcd >> 16)};
  PutU16(bytes, cardNumber);
  PutU32(bytes, cardId);
  return Make(kDac, 20, 4, 1, std::move(bytes));
}

IotCommand DacAuthorize(int attribute, int cardNumber, int cardId) {
  return Card(20, 1, attribute, cardNumber, cardId);
}
IotCommand DacRemoveCard(int attribute, int cardNumber, int cardId) {
  return Card(21, 2, attribute, cardNumber, cardId);
}
IotCommand DacOpen() { return Make(kDac, 22, 5, 1, {}); }
IotCommand DacStartCapture() { return Make(kDac, 23, 6, 1, {}); }
IotCommand DacStopCapture() { return Make(kDac, 24, 6, 2, {}); }
IotCommand DacGetDoorStatus() { return Make(kDac, 25, 7, 1, {}); }

// ---- fingerprint door lock

std::optional<IotCommand> DLockFingerSetTime(std::string_view time) { return SetTime(kFinger, time); }
IotCommand DLockFingerSetTimeInterval(int hygiene, int work, int overtime, int rest) {
  return SetTimeInterval(kFinger, hygiene, work, overtime, rest);
}
IotCommand DLockFingerSetWorkdayOfMonth(int year, int month, const std::uint8_t* data, int length) {
  return SetWorkdayOfMonth(kFinger, year, month, data, length);
}
std::vector<IotCommand> DLockFingerSetWorkdayOfYear(int year, const std::uint8_t* data, int length) {
  return SetWorkdayOfYear(kFinger, year, data, length);
}
IotCommand DLockFingerOpenDoor() { return Make(kFinger, 22, 5, 1, {}); }
IotCommand DLockFingerStartCapture() { return Make(kFinger, 23, 6, 1, {}); }
IotCommand DLockFingerStopCapture() { return Make(kFinger, 24, 6, 2, {}); }
IotCommand DLockFingerQueryDoorStatus() { return Make(kFinger, 25, 7, 1, {}); }
IotCommand DLockFingerQueryUserCount() { return Make(kFinger, 29, 16, 1, {}); }
IotCommand DLockFingerRemoveUser(int user) { return User(30, 17, 2, user); }
IotCommand DLockFingerRemoveAllUser() { return Make(kFinger, 31, 17, 3, {}); }
IotCommand DLockFingerQueryUserPermission(int user) { return User(32, 18, 1, user); }
IotCommand DLockFingerSetMatchingLevel(int level) { return Make(kFinger, 33, 19, 1, {LowByte(level)}); }
IotCommand DLockFingerQueryMatchingLevel() { return Make(kFinger, 34, 19, 2, {}); }
IotCommand DLockFingerQueryFingerprintFeature(int user) { return User(36, 21, 1, user); }

std::vector<IotCommand> DLockFingerSetFingerprintFeature(int user, int permission, std::string_view feature) {
  if (feature.size() > kFingerprintFeatureTextMax) return {};
  // Base64 stores whole groups: room for 3 bytes per 4 characters.
  std::array<std::uint8_t, (kFingerprintFeatureTextMax / 4) * 3> decoded{};
  const std::size_t count = Base64Decode(decoded.data(), decoded.size(), feature.data(), feature.size());
  if (count == 0) return {};
  std::array<std::uint8_t, kFingerprintFeatureBytes> block{};
  std::copy_n(decoded.begin(), std::min(count, block.size()), block.begin());

  // The frames' sub-header says 35 data bytes each; the last carries 21.
  constexpr std::size_t kFirst = 32, kMiddle = 35;
  std::vector<IotCommand> frames;
  for (std::uint8_t k = 1; k <= 6; ++k) {
    std::vector<std::uint8_t> payload = {kFinger, 35, 20, k};
    std::size_t from = 0, length = kFirst;
    if (k == 1) {
      PutU16(payload, user);
      payload.push_back(LowByte(permission));
    } else {
      from = kFirst + kMiddle * (k - 2u);
      length = k == 6 ? block.size() - from : kMiddle;
    }
    payload.insert(payload.end(), block.begin() + static_cast<std::ptrdiff_t>(from),
                   block.begin() + static_cast<std::ptrdiff_t>(from + length));
    frames.push_back(IotCommand{kFinger, 35, std::move(payload), true});
  }
  return frames;
}
