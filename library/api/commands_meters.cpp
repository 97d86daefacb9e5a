#include "library/api/commands_meters.h"

#include <array>
#include <limits>

#include "library/api/scaled_value.h"
#include "library/session/codecs.h"

namespace {

constexpr std::uint8_t kPowerMeter = 95, kWaterMeter = 65, kGasMeter = 66;

// The largest numbers that 16 and 8 packed BCD digits hold.
constexpr std::uint64_t kMaxAddress = 9999999999999999ull;
constexpr std::int64_t kMaxAmount = 99999999;

// Operation byte of the electricity meter block for the operations that
// carry an amount.
constexpr std::uint8_t kAmountOperation = 3;

using Bytes = std::vector<std::uint8_t>;
using Data = std::array<std::uint8_t, 4>;

IotCommand Make(std::uint8_t code, std::uint8_t function, Bytes payload) {
  return IotCommand{code, function, std::move(payload), true};
}
IotCommand Query(std::uint8_t code, std::uint8_t function) { return Make(code, function, {0, 0, 0, 0}); }

void PutU32(Bytes& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void PutU64(Bytes& bytes, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The packed BCD of a meter address; nothing for one of more than 16 digits.
std::optional<std::uint64_t> AddressBcd(std::uint32_t low, std::uint32_t high) {
  const std::uint64_t address = (static_cast<std::uint64_t>(high) << 32) | low;
  if (address > kMaxAddress) return std::nullopt;
  return UInt64ToBcd(address);
}

// The packed BCD of value × factor; nothing when the scaled value is
// negative or has more than 8 digits.
std::optional<std::uint32_t> AmountBcd(float value, std::int64_t factor) {
  const auto scaled = ScaleFloat(value, factor, 0, kMaxAmount);
  if (!scaled) return std::nullopt;
  return UInt32ToBcd(static_cast<std::uint32_t>(*scaled));
}

// A date or time field as one BCD byte: its low 8 bits, 0xFF from 100 on.
std::uint8_t FieldBcd(int value) { return ByteToBcd(LowByte(value)); }

// The 24-byte block of the electricity meter's set operations.
std::optional<IotCommand> PowerBlock(std::uint8_t function, std::uint8_t operation, std::uint32_t addressLow,
                                     std::uint32_t addressHigh, std::uint32_t code1, std::uint32_t code2,
                                     const Data& data) {
  const auto address = AddressBcd(addressLow, addressHigh);
  if (!address) return std::nullopt;
  Bytes payload = {operation, 0, 0, 0};
  PutU64(payload, *address);
  PutU32(payload, code1);
  PutU32(payload, code2);
  payload.insert(payload.end(), data.begin(), data.end());
  return Make(kPowerMeter, function, std::move(payload));
}

std::optional<IotCommand> PowerAmount(std::uint8_t function, std::uint32_t addressLow, std::uint32_t addressHigh,
                                      std::uint32_t code1, std::uint32_t code2, float amount) {
  const auto bcd = AmountBcd(amount, 1000);
  if (!bcd) return std::nullopt;
  const Data data = {static_cast<std::uint8_t>(*bcd), static_cast<std::uint8_t>(*bcd >> 8),
                     static_cast<std::uint8_t>(*bcd >> 16), static_cast<std::uint8_t>(*bcd >> 24)};
  return PowerBlock(function, kAmountOperation, addressLow, addressHigh, code1, code2, data);
}

// The 12-byte block of the water and gas meters: operation byte, three
// zeros, the address.
std::optional<Bytes> MeterBlock(std::uint8_t operation, std::uint32_t addressLow, std::uint32_t addressHigh) {
  const auto address = AddressBcd(addressLow, addressHigh);
  if (!address) return std::nullopt;
  Bytes payload = {operation, 0, 0, 0};
  PutU64(payload, *address);
  return payload;
}

std::optional<IotCommand> AddressedCommand(std::uint8_t code, std::uint8_t function, std::uint8_t operation,
                                           std::uint32_t addressLow, std::uint32_t addressHigh) {
  auto payload = MeterBlock(operation, addressLow, addressHigh);
  if (!payload) return std::nullopt;
  return Make(code, function, std::move(*payload));
}

std::optional<IotCommand> Calibrate(std::uint8_t code, std::uint32_t addressLow, std::uint32_t addressHigh,
                                    float value) {
  const auto bcd = AmountBcd(value, 10);
  auto payload = MeterBlock(1, addressLow, addressHigh);
  if (!bcd || !payload) return std::nullopt;
  PutU32(*payload, *bcd);
  return Make(code, 48, std::move(*payload));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads three integers separated by `separator` as "%d<sep>%d<sep>%d" does:
// blanks before a number are skipped, an optional sign, then digits; the
// separator must follow a number at once. Reading stops at the first field
// that is not a number or lies outside the range of int; that field and the
// ones after it stay 0.
std::array<int, 3> ReadFields(std::string_view text, char separator) {
  std::array<int, 3> fields{};
  std::size_t at = 0;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) {
      if (at >= text.size() || text[at] != separator) break;
      ++at;
    }
    while (at < text.size() && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at >= text.size() || !IsDigit(text[at])) break;
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
      if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[at] - '0');
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) break;
    fields[i] = static_cast<int>(value);
  }
  return fields;
}

}  // namespace

IotCommand PowerMeterCtrlInit() { return Query(kPowerMeter, 48); }

std::optional<IotCommand> PowerMeterCtrlSetDate(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                std::uint32_t code1, std::uint32_t code2, std::string_view date) {
  const auto [year, month, day] = ReadFields(date, '-');
  const Data data = {FieldBcd(WeekDayOf(year, month, day)), FieldBcd(day), FieldBcd(month), FieldBcd(year % 100)};
  return PowerBlock(49, 0, addressLow, addressHigh, code1, code2, data);
}

std::optional<IotCommand> PowerMeterCtrlSetTime(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                std::uint32_t code1, std::uint32_t code2, std::string_view time) {
  const auto [hour, minute, second] = ReadFields(time, ':');
  const Data data = {FieldBcd(second), FieldBcd(minute), FieldBcd(hour), 0};
  return PowerBlock(50, 0, addressLow, addressHigh, code1, code2, data);
}

std::optional<IotCommand> PowerMeterCtrlSetAccountDay(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                      std::uint32_t code1, std::uint32_t code2, int day, int hour) {
  const Data data = {FieldBcd(hour % 24), FieldBcd(day % 31), 0, 0};
  return PowerBlock(51, 0, addressLow, addressHigh, code1, code2, data);
}

IotCommand PowerMeterCtrlClearAvailableEngeryAmount() { return Query(kPowerMeter, 54); }

std::optional<IotCommand> PowerMeterCtrlSetMaximumCurrent(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                          std::uint32_t code1, std::uint32_t code2, float current) {
  return PowerAmount(55, addressLow, addressHigh, code1, code2, current);
}

std::optional<IotCommand> PowerMeterCtrlAddAvailableEnergyAmount(std::uint32_t addressLow,
                                                                 std::uint32_t addressHigh, std::uint32_t code1,
                                                                 std::uint32_t code2, float amount) {
  return PowerAmount(57, addressLow, addressHigh, code1, code2, amount);
}

IotCommand PowerMeterCtrlRelayOn() { return Query(kPowerMeter, 59); }
IotCommand PowerMeterCtrlRelayOff() { return Query(kPowerMeter, 60); }
IotCommand PowerMeterCtrlQueryData() { return Query(kPowerMeter, 94); }

IotCommand PowerMeterCtrlQueryParameter(int parameter) {
  if (parameter == 0) return Make(kPowerMeter, 95, {1, 0, 0, 0});
  if (parameter == 1) return Make(kPowerMeter, 95, {2, 0, 0, 0});
  if (parameter >= 2 && parameter <= 11) return Query(kPowerMeter, static_cast<std::uint8_t>(parameter + 78));
  if (parameter == 12) return Query(kPowerMeter, 92);
  if (parameter == 13) return Query(kPowerMeter, 93);
  if (parameter == 14) return Query(kPowerMeter, 64);
  return Query(kPowerMeter, 95);
}

std::optional<IotCommand> WaterMeterCtrlCalibrate(std::uint32_t addressLow, std::uint32_t addressHigh, float value) {
  return Calibrate(kWaterMeter, addressLow, addressHigh, value);
}

std::optional<IotCommand> WaterMeterCtrlValveTest(std::uint32_t addressLow, std::uint32_t addressHigh) {
  return AddressedCommand(kWaterMeter, 49, 0, addressLow, addressHigh);
}

std::optional<IotCommand> WaterMeterCtrlSetFactoryMode(std::uint32_t addressLow, std::uint32_t addressHigh, int on) {
  return AddressedCommand(kWaterMeter, on == 1 ? 51 : 50, 0, addressLow, addressHigh);
}

std::optional<IotCommand> WaterMeterCtrlValveControl(std::uint32_t addressLow, std::uint32_t addressHigh,
                                                     int value) {
  return AddressedCommand(kWaterMeter, 52, LowByte(value), addressLow, addressHigh);
}

IotCommand WaterMeterCtrlQueryValveStatus() { return Query(kWaterMeter, 64); }
IotCommand WaterMeterCtrlQueryData() { return Query(kWaterMeter, 80); }
IotCommand WaterMeterCtrlQueryMeterId() { return Query(kWaterMeter, 81); }

std::optional<IotCommand> GasMeterCtrlCalibrate(std::uint32_t addressLow, std::uint32_t addressHigh, float value) {
  return Calibrate(kGasMeter, addressLow, addressHigh, value);
}

IotCommand GasMeterCtrlQueryData() { return Query(kGasMeter, 80); }
IotCommand GasMeterCtrlQueryMeterId() { return Query(kGasMeter, 81); }
