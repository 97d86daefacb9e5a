// The simulated health devices: a sleep and vital-sign monitor that reports
// one reading when a mode is set, and a blood-pressure meter that
// acknowledges its operations, sends a pressure sample while measuring and
// gives its result when asked. Neither keeps state.
#include "tools/simulated_devices.h"

namespace standin {

namespace {

void Respond(const DeviceFrame& command, std::uint8_t function, std::vector<std::uint8_t> payload,
             std::vector<DeviceFrame>& replies) {
  DeviceFrame reply = command;
  reply.functionByte = function;
  reply.payload = std::move(payload);
  replies.push_back(std::move(reply));
}

}  // namespace

void SimulateHealthMonitor(const DeviceFrame& command, DeviceState&, std::vector<DeviceFrame>& replies) {
  const std::uint8_t mode = command.payload.empty() ? 0 : command.payload[0];
  if (command.functionByte != 81 || (mode != 72 && mode != 83)) return;
  // Marks 55 AA, then pulse 70, respiration 16 and movement 3 packed five
  // bits a byte, the averages 68, 15 and 300, and sleep level 2.
  Respond(command, 0x50, {0, 0, 0, 0, 0x55, 0xAA, 0x02, 0x06, 0x00, 0x10, 0x00, 0x03, 68, 15, 0x01, 0x2C, 2},
          replies);
}

void SimulateSphygmometer(const DeviceFrame& command, DeviceState&, std::vector<DeviceFrame>& replies) {
  switch (command.functionByte) {
    case 48:  // power on
    case 50:  // stop measuring
      Respond(command, static_cast<std::uint8_t>(0x30 + command.functionByte - 48), {0, 0, 0, 0}, replies);
      break;
    case 49:  // start measuring: one sample of 150, high byte first
      Respond(command, 0x31, {0, 0, 0, 0}, replies);
      Respond(command, 0x50, {0, 0, 0, 0, 0x00, 0x96, 0}, replies);
      break;
    case 81:  // the result: 120/80 mmHg, heart rate 72, regular
      Respond(command, 0x51, {0, 0, 0, 0, 120, 80, 72, 1}, replies);
      break;
    default:
      break;
  }
}

}  // namespace standin
