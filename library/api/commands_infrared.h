#pragma once
// Commands of the infrared remote-control node (command code 102): the keys
// of household appliances' remotes, and the air conditioner's state, which
// its remote sends whole with every key.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "library/api/iot_command.h"

// Appliance kinds, the first payload byte.
constexpr int kApplianceVcr = 1, kApplianceSat = 2, kApplianceDvd = 3, kApplianceCd = 4,
              kApplianceAirConditioner = 5, kApplianceTv = 6, kApplianceStb = 7;
constexpr std::size_t kMaxApplianceExtra = 8;

inline bool IsApplianceKind(int kind) { return kind >= kApplianceVcr && kind <= kApplianceStb; }

// The air conditioner's state: set temperature (18 to 30), mode (0 to 3),
// first and second swing flag, power, fan speed (0 to 4), and the local hour
// and minute at which the state was created.
using AcState = std::array<std::uint8_t, 8>;

// 20 degrees, mode 0, both swings on, power off, fan 0, the given time.
AcState DefaultAcState(int hour, int minute);
// 1 power on/off; 2 one degree warmer (at most 30), 3 one degree cooler (at
// least 18); 4 next mode; 5, 6 first, second swing on/off; 7 next fan speed;
// any other key changes nothing.
void ApplyAcKey(AcState& state, int key);

// One appliance key: payload kind, key, unit, 0 (low bytes), then the extra
// bytes; nothing for more than 8 extra bytes. The kind is not checked here.
std::optional<IotCommand> HeaCtrl(int kind, int unit, int key, std::span<const std::uint8_t> extra = {});
// The air conditioner's key with the state it leaves: kind 5 and 12 bytes.
IotCommand HaAc(int unit, int key, const AcState& state);
