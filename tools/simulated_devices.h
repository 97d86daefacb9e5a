#pragma once
// The simulated devices of the built-in platform, one function per family:
// given the command frame and the device's kept state, each appends the
// frames the device answers with. A family's state is one 64-byte record per
// node that the family uses as it likes (zero at first).
#include <array>
#include <cstdint>
#include <vector>

#include "tools/iot_frames.h"

namespace standin {

using DeviceState = std::array<std::uint8_t, 64>;
using DeviceSimulator = void (*)(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);

// The simulator of a command code; nullptr for devices the platform does not have.
DeviceSimulator SimulatorOf(std::uint8_t commandCode);

void SimulateSwitches(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateCabinet(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateHealthMonitor(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateSphygmometer(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateSampling(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateLaboratory(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateDoorLock(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateFingerprintLock(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateMeters(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateAdapter(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateVehicleReader(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);
void SimulateInfraredRemote(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies);

}  // namespace standin
