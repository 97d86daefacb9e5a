// Simulated lamps, switches, curtains, box power and door contacts.
#include "tools/simulated_devices.h"

namespace standin {

void SimulateSwitches(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  std::uint8_t& value = state[0];
  auto respond = [&](std::uint8_t function, std::vector<std::uint8_t> payload) {
    DeviceFrame reply = command;
    reply.functionByte = function;
    reply.payload = std::move(payload);
    replies.push_back(std::move(reply));
  };
  const std::uint8_t fn = command.functionByte;
  switch (command.commandCode) {
    case 81:  // lamp: state in payload byte 1
      if (fn == 16 || fn == 17) value = fn == 16 ? 1 : 0;
      if (fn == 16 || fn == 17 || fn == 65) respond(fn == 65 ? 0x41 : fn == 16 ? 0x30 : 0x31, {1, value});
      break;
    case 209:  // single-live-wire switch
      if (fn == 48 && command.payload.size() >= 2) value = command.payload[1] ? 1 : 0;
      if (fn == 48 || fn == 64) respond(fn == 48 ? 0x30 : 0x40, {1, value});
      break;
    case 83:  // power switch: state in payload byte 0
      if (fn == 16 || fn == 17) value = fn == 16 ? 1 : 0;
      if (fn == 16 || fn == 17 || fn == 67) respond(fn == 67 ? 0x43 : fn == 16 ? 0x30 : 0x31, {value});
      break;
    case 82:  // curtain: 1 open, 2 stop, 3 close
      if (fn >= 16 && fn <= 18) value = fn == 16 ? 1 : fn == 17 ? 2 : 3;
      if ((fn >= 16 && fn <= 18) || fn == 66)
        respond(fn == 66 ? 0x42 : static_cast<std::uint8_t>(0x30 + fn - 16), {value});
      break;
    case 85:  // laboratory box power
      if (fn == 16 || fn == 17) value = fn == 16 ? 1 : 0;
      if (fn == 16 || fn == 17) respond(fn == 16 ? 0x30 : 0x31, {value});
      else if (fn == 18) respond(0x32, {value});
      else if (fn == 67) respond(0x43, {value});
      break;
    case 44:  // door contact: closed
      if (fn == 64) respond(0x40, {0});
      break;
    default:
      break;
  }
}

}  // namespace standin
