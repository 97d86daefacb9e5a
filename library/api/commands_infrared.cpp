#include "library/api/commands_infrared.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kInfraredRemote = 102, kApplianceKey = 102;
constexpr std::uint8_t kWarmest = 30, kCoolest = 18, kModes = 4, kFanSpeeds = 5;

enum AcByte : std::size_t { kTemperature, kMode, kSwing1, kSwing2, kPower, kFan, kHour, kMinute };

}  // namespace

AcState DefaultAcState(int hour, int minute) {
  return {20, 0, 1, 1, 0, 0, LowByte(hour), LowByte(minute)};
}

void ApplyAcKey(AcState& state, int key) {
  switch (key) {
    case 1:
      state[kPower] = state[kPower] ? 0 : 1;
      break;
    case 2:
      state[kTemperature] = static_cast<std::uint8_t>(std::min(state[kTemperature] + 1, int{kWarmest}));
      break;
    case 3:
      state[kTemperature] = static_cast<std::uint8_t>(std::max(state[kTemperature] - 1, int{kCoolest}));
      break;
    case 4:
      state[kMode] = static_cast<std::uint8_t>((state[kMode] + 1) % kModes);
      break;
    case 5:
      state[kSwing1] = state[kSwing1] ? 0 : 1;
      break;
    case 6:
      state[kSwing2] = state[kSwing2] ? 0 : 1;
      break;
    case 7:
      state[kFan] = static_cast<std::uint8_t>((state[kFan] + 1) % kFanSpeeds);
      break;
    default:
      break;
  }
}

std::optional<IotCommand> HeaCtrl(int kind, int unit, int key, std::span<const std::uint8_t> extra) {
  if (extra.size() > kMaxApplianceExtra) return std::nullopt;
  IotCommand command{kInfraredRemote, kApplianceKey, {LowByte(kind), LowByte(key), LowByte(unit), 0}, true};
  command.payload.insert(command.payload.end(), extra.begin(), extra.end());
  return command;
}

IotCommand HaAc(int unit, int key, const AcState& state) {
  return *HeaCtrl(kApplianceAirConditioner, unit, key, state);
}
