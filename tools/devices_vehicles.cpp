// Simulated sensor adapters and vehicle-mounted RFID readers.
#include <cstdio>
#include <string>

#include <algorithm>

#include "tools/simulated_devices.h"

namespace standin {

namespace {

constexpr std::uint8_t kAdapterCommand = 54, kAskData = 2, kReading = 0x52;
constexpr std::uint8_t kAnemometer = 1, kWindVane = 2, kWeatherPart = 3;
constexpr std::size_t kPartChars = 48;

// The weather station's record: the time 2024-05-17 08:30:15 in BCD, then
// its measurements as big-endian sign-and-magnitude numbers.
const std::vector<std::uint8_t>& WeatherRecord() {
  static const std::vector<std::uint8_t> record = {
      0x15, 0x30, 0x08, 0x17, 0x05, 0x00, 0x24,  // seconds, minutes, hours, day, month, -, year
      0x00, 0x00, 0x04, 0xE2,                    // ultraviolet radiation, accumulated: 1.250 MJ
      0x00, 0x00, 0x3C, 0x8C,                    // global radiation, accumulated: 15.500 MJ
      0x00, 0xD7, 0x80, 0x19, 0x00, 0x64, 0x00, 0x00, 0x00, 0x05,  // ground: 21.5 -2.5 10.0 0.0 0.5
      0x00, 0xEB,  // temperature 23.5
      0x02, 0x8F,  // humidity 65.5
      0x06, 0x8B,  // dew point 16.75
      0x27, 0x97,  // pressure 1013.5
      0x01, 0xC7,  // altitude 45.5
      0x00, 0x23,  // wind speed 3.5
      0x00, 0x1E,  // over 2 minutes 3.0
      0x00, 0x19,  // over 10 minutes 2.5
      0x01, 0x2C,  // wind direction 300
      0x00, 0x2D,  // ultraviolet radiation 45
      0x02, 0x8A,  // global radiation 650
      0x00, 0x7D,  // rainfall 12.5
      0x00, 0x00, 0x00,  // not used
      0x00, 0x7D,  // voltage 12.5
      0x4B,        // sunshine 7.5 h
  };
  return record;
}

// The record as hex text, in parts of 48 characters; the last is padded with '0'.
std::vector<std::string> WeatherParts() {
  std::string text;
  for (std::uint8_t byte : WeatherRecord()) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(byte));
    text += digits;
  }
  text.resize((text.size() + kPartChars - 1) / kPartChars * kPartChars, '0');
  std::vector<std::string> parts;
  for (std::size_t at = 0; at < text.size(); at += kPartChars) parts.push_back(text.substr(at, kPartChars));
  return parts;
}

std::vector<std::uint8_t> Reading(std::uint8_t kind, std::uint32_t value) {
  return {kind,
          0,
          0,
          0,
          static_cast<std::uint8_t>(value),
          static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16),
          static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace

// The sensor behind an adapter follows its node address: addresses 1, 4, 7,
// ... have an anemometer (5.7 m/s), 2, 5, 8, ... a wind vane (300 degrees),
// and 3, 6, 9, ... a weather station, whose record comes in three parts
// under a key that changes with every record. Only the request for data is
// answered.
void SimulateAdapter(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  if (command.functionByte != kAdapterCommand || command.payload.empty() || command.payload[0] != kAskData) return;
  auto respond = [&](std::vector<std::uint8_t> payload) {
    DeviceFrame reply = command;
    reply.functionByte = kReading;
    reply.payload = std::move(payload);
    replies.push_back(std::move(reply));
  };
  switch (command.nodeAddress % 3) {
    case 1:
      respond(Reading(kAnemometer, 57));
      break;
    case 2:
      respond(Reading(kWindVane, 300));
      break;
    default: {
      const std::uint8_t key = ++state[0];
      const std::vector<std::string> parts = WeatherParts();
      for (std::size_t i = 0; i < parts.size(); ++i) {
        std::vector<std::uint8_t> payload(4 + parts[i].size());
        payload[0] = kWeatherPart;
        payload[1] = key;
        payload[2] = static_cast<std::uint8_t>(parts.size());
        payload[3] = static_cast<std::uint8_t>(i + 1);
        std::copy(parts[i].begin(), parts[i].end(), payload.begin() + 4);
        respond(std::move(payload));
      }
      break;
    }
  }
}

// The vehicle runs on a track of cards numbered 1, 2, 3, ...: forward (16)
// and back (17) take it to the next or the previous card, which it reports
// (card number and the card's id 0xCA000000 + number); stop, left and right
// report nothing. It starts before card 1 and never goes back past it.
void SimulateVehicleReader(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  std::uint8_t& position = state[0];
  if (command.functionByte == 16 && position < 0xFF)
    ++position;
  else if (command.functionByte == 17 && position > 1)
    --position;
  else
    return;
  const std::uint32_t id = 0xCA000000u + position;
  DeviceFrame reply = command;
  reply.functionByte = 0x43;
  reply.payload = {static_cast<std::uint8_t>(id),       static_cast<std::uint8_t>(id >> 8),
                   static_cast<std::uint8_t>(id >> 16), static_cast<std::uint8_t>(id >> 24),
                   position,                            0,
                   0,                                   0};
  replies.push_back(std::move(reply));
}

}  // namespace standin
