// Simulated infrared remote-control nodes of household appliances.
#include "tools/simulated_devices.h"

namespace standin {

namespace {

constexpr std::uint8_t kApplianceCommand = 102;
constexpr std::uint8_t kExecuted = 0x43, kBadType = 0x44, kBadCommand = 0x45;
constexpr std::uint8_t kAirConditioner = 5;
constexpr std::size_t kKeyBytes = 4, kAirConditionerBytes = 12;

}  // namespace

// Answers every appliance key with its command status, echoing the key's
// first four bytes (kind, key, unit, 0): executed for kinds 1 to 7, a bad
// type for any other kind, a bad command for a frame too short for its
// kind (four bytes, twelve for an air conditioner with its state).
void SimulateInfraredRemote(const DeviceFrame& command, DeviceState&, std::vector<DeviceFrame>& replies) {
  if (command.functionByte != kApplianceCommand) return;
  const std::vector<std::uint8_t>& key = command.payload;
  std::uint8_t status = kExecuted;
  if (key.size() < kKeyBytes)
    status = kBadCommand;
  else if (key[0] < 1 || key[0] > 7)
    status = kBadType;
  else if (key[0] == kAirConditioner && key.size() < kAirConditionerBytes)
    status = kBadCommand;
  DeviceFrame reply = command;
  reply.functionByte = status;
  reply.payload.assign(key.begin(), key.begin() + static_cast<long>(key.size() < kKeyBytes ? key.size() : kKeyBytes));
  replies.push_back(std::move(reply));
}

}  // namespace standin
