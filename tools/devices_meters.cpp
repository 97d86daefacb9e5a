// Simulated electricity, water and gas meter controllers, each with one
// meter. The controller answers every command with the function byte it was
// sent (the electricity meter's energy top-up with 0x38); readings go out as
// packed BCD with their decimal exponent in payload byte 6.
#include <algorithm>

#include "tools/simulated_devices.h"

namespace standin {

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t ToBcd(std::uint32_t value) {
  std::uint32_t bcd = 0;
  for (int shift = 0; shift < 32 && value > 0; shift += 4, value /= 10) bcd |= (value % 10) << shift;
  return bcd;
}
std::uint32_t FromBcd(std::uint32_t bcd) {
  std::uint32_t value = 0;
  for (int shift = 28; shift >= 0; shift -= 4) value = value * 10 + ((bcd >> shift) & 0x0F);
  return value;
}

std::uint32_t GetU32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}
void SetU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A reply payload of `size` zero bytes with a BCD reading at `at` and its
// exponent in byte 6.
Bytes Reading(std::size_t size, std::size_t at, std::uint32_t value, std::uint8_t exponent) {
  Bytes payload(size, 0);
  payload[6] = exponent;
  SetU32(payload.data() + at, ToBcd(value));
  return payload;
}

struct Replies {
  const DeviceFrame& command;
  std::vector<DeviceFrame>& out;
  void operator()(std::uint8_t function, Bytes payload) const {
    DeviceFrame reply = command;
    reply.functionByte = function;
    reply.payload = std::move(payload);
    out.push_back(std::move(reply));
  }
};

// ---- electricity meter

// The state record of the electricity meter.
constexpr std::size_t kPowerReady = 0, kRelay = 1, kDate = 2 /* weekday, day, month, year */,
                      kTime = 6 /* second, minute, hour */, kAccountDay = 9 /* hour, day */,
                      kMaximumCurrent = 11 /* mA */, kAvailable = 15 /* thousandths of kWh */,
                      kPowerAddress = 19 /* 8 BCD bytes */, kCoverOpenCount = 27;

constexpr std::uint32_t kMaxBcd32 = 99999999;

void PowerDefaults(DeviceState& s) {
  s.fill(0);
  s[kPowerReady] = 1;
  const std::uint8_t date[] = {0x03, 0x09, 0x12, 0x26};  // Wednesday 2026-12-09
  std::copy(std::begin(date), std::end(date), s.begin() + kDate);
  const std::uint8_t time[] = {0x00, 0x30, 0x08};  // 08:30:00
  std::copy(std::begin(time), std::end(time), s.begin() + kTime);
  s[kAccountDay + 1] = 0x01;
  SetU32(s.data() + kMaximumCurrent, 60000);
  SetU32(s.data() + kAvailable, 100000);
  const std::uint8_t address[] = {0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0};
  std::copy(std::begin(address), std::end(address), s.begin() + kPowerAddress);
  s[kCoverOpenCount] = 2;
}

// The meter's own instantaneous readings: value and exponent.
struct Measure {
  std::uint8_t function;
  std::uint32_t value;
  std::uint8_t exponent;
};
constexpr Measure kMeasures[] = {
    {0x50, 2205, 1},     // 220.5 V
    {0x51, 5123, 3},     // 5.123 A
    {0x52, 11025, 4},    // 1.1025 kW
    {0x53, 998, 3},      // power factor 0.998
    {0x54, 1234567, 2},  // 12345.67 kWh
    {0x58, 12345, 2},    // this month 123.45 kWh
    {0x59, 23456, 2},    // last month 234.56 kWh
};

Bytes DataPack(const DeviceState& s) {
  Bytes p(40, 0);
  SetU32(p.data() + 8, ToBcd(2205));
  SetU32(p.data() + 12, ToBcd(5123));
  SetU32(p.data() + 16, ToBcd(11025));
  SetU32(p.data() + 20, ToBcd(998));
  SetU32(p.data() + 24, ToBcd(1234567));
  p[29] = s[kDate + 1];
  p[30] = s[kDate + 2];
  p[31] = s[kDate + 3];
  p[32] = s[kTime];
  p[33] = s[kTime + 1];
  p[34] = s[kTime + 2];
  SetU32(p.data() + 36, ToBcd(GetU32(s.data() + kAvailable) / 10));
  return p;
}

// Answers the queries; false for a function byte that is none.
bool PowerQuery(std::uint8_t fn, const Bytes& command, const DeviceState& s, const Replies& respond) {
  for (const Measure& m : kMeasures)
    if (m.function == fn) {
      respond(fn, Reading(16, 12, m.value, m.exponent));
      return true;
    }
  Bytes p(16, 0);
  switch (fn) {
    case 0x40:
      SetU32(p.data() + 8, s[kRelay]);
      break;
    case 0x55:
      std::copy(s.begin() + kDate + 1, s.begin() + kDate + 4, p.begin() + 13);
      break;
    case 0x56:
      std::copy(s.begin() + kTime, s.begin() + kTime + 3, p.begin() + 12);
      break;
    case 0x57:
      std::copy(s.begin() + kAccountDay, s.begin() + kAccountDay + 2, p.begin() + 12);
      break;
    case 0x5C:
      std::copy(s.begin() + kPowerAddress, s.begin() + kPowerAddress + 8, p.begin() + 8);
      break;
    case 0x5D:
      SetU32(p.data() + 12, ToBcd(s[kCoverOpenCount]));
      break;
    case 0x5E:
      p = DataPack(s);
      break;
    case 0x5F:
      p[0] = command.empty() ? 0 : command[0];
      if (p[0] == 1 || p[0] == 2) {
        p[6] = 3;
        SetU32(p.data() + 8, ToBcd(GetU32(s.data() + (p[0] == 1 ? kMaximumCurrent : kAvailable))));
      }
      break;
    default:
      return false;
  }
  respond(fn, std::move(p));
  return true;
}

void SimulatePowerMeter(const DeviceFrame& command, DeviceState& s, const Replies& respond) {
  if (!s[kPowerReady]) PowerDefaults(s);
  const std::uint8_t fn = command.functionByte;
  const Bytes& p = command.payload;
  if (PowerQuery(fn, p, s, respond)) return;
  const bool block = fn == 49 || fn == 50 || fn == 51 || fn == 55 || fn == 57;
  if (block) {
    if (p.size() < 24) {
      respond(0x29, {});  // bad data
      return;
    }
    std::copy(p.begin() + 4, p.begin() + 12, s.begin() + kPowerAddress);
  }
  const std::uint32_t amount = block ? FromBcd(GetU32(p.data() + 20)) : 0;
  switch (fn) {
    case 48:
      PowerDefaults(s);
      break;
    case 49:
      std::copy(p.begin() + 20, p.begin() + 24, s.begin() + kDate);
      break;
    case 50:
      std::copy(p.begin() + 20, p.begin() + 23, s.begin() + kTime);
      break;
    case 51:
      std::copy(p.begin() + 20, p.begin() + 22, s.begin() + kAccountDay);
      break;
    case 54:
      SetU32(s.data() + kAvailable, 0);
      break;
    case 55:
      SetU32(s.data() + kMaximumCurrent, amount);
      break;
    case 57:
      SetU32(s.data() + kAvailable, std::min(kMaxBcd32, GetU32(s.data() + kAvailable) + amount));
      respond(0x38, {});
      return;
    case 59:
    case 60:
      s[kRelay] = fn == 59 ? 1 : 0;
      break;
    default:
      return;
  }
  respond(fn, {});
}

// ---- water and gas meters

constexpr std::size_t kMeterReady = 0, kValve = 1 /* 1 open, 2 closed, 3 unknown */, kReading = 2 /* BCD tenths */,
                      kMeterAddress = 6 /* 8 BCD bytes */;

void MeterDefaults(DeviceState& s) {
  s.fill(0);
  s[kMeterReady] = 1;
  s[kValve] = 3;
  SetU32(s.data() + kReading, ToBcd(12345));  // 1234.5
  const std::uint8_t address[] = {0x21, 0x43, 0x65, 0x87, 0, 0, 0, 0};
  std::copy(std::begin(address), std::end(address), s.begin() + kMeterAddress);
}

void SimulateWaterOrGas(const DeviceFrame& command, DeviceState& s, const Replies& respond, bool water) {
  if (!s[kMeterReady]) MeterDefaults(s);
  const std::uint8_t fn = command.functionByte;
  const Bytes& p = command.payload;
  const bool addressed = fn == 48 || (water && fn >= 49 && fn <= 52);
  if (addressed) {
    if (p.size() < (fn == 48 ? 16u : 12u)) return;
    std::copy(p.begin() + 4, p.begin() + 12, s.begin() + kMeterAddress);
  }
  if (fn == 48) {
    std::copy(p.begin() + 12, p.begin() + 16, s.begin() + kReading);
  } else if (fn == 52 && water) {
    s[kValve] = p[0] == 1 ? 1 : 2;
  } else if (fn == 64 && water) {
    respond(0x40, {s[kValve], 0, 0, 0});
    return;
  } else if (fn == 80) {
    Bytes reply(16, 0);
    reply[6] = 1;
    std::copy(s.begin() + kReading, s.begin() + kReading + 4, reply.begin() + 12);
    respond(0x50, std::move(reply));
    return;
  } else if (fn == 81) {
    Bytes reply(20, 0);
    std::copy(s.begin() + kMeterAddress, s.begin() + kMeterAddress + 8, reply.begin() + 12);
    respond(0x51, std::move(reply));
    return;
  } else if (!addressed) {
    return;
  }
  respond(fn, {});
}

}  // namespace

void SimulateMeters(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  const Replies respond{command, replies};
  switch (command.commandCode) {
    case 95:
      SimulatePowerMeter(command, state, respond);
      break;
    case 65:
      SimulateWaterOrGas(command, state, respond, true);
      break;
    case 66:
      SimulateWaterOrGas(command, state, respond, false);
      break;
    default:
      break;
  }
}

}  // namespace standin
