// Simulated card door locks (code 80) and fingerprint door locks (code 96).
// Every command is answered with its operation result (payload byte 1 0x55,
// success) or with the data it asks for; the door's state follows "open".
// State: byte 0 the door is open, 1 the matching level, 2-3 the user count,
// 4 the permission last given with a fingerprint feature.
#include "tools/simulated_devices.h"

namespace standin {

namespace {

constexpr std::uint8_t kSuccess = 0x55;
constexpr std::uint8_t kDoorOpen = 0x42, kDoorClose = 0x43;
constexpr std::size_t kFeatureBytes = 193;

class Answers {
 public:
  Answers(const DeviceFrame& command, std::vector<DeviceFrame>& replies) : command_(command), replies_(replies) {}

  std::uint8_t Byte(std::size_t at) const { return at < command_.payload.size() ? command_.payload[at] : 0; }

  // A frame whose payload starts with the lock's sub-header: the command's
  // group and item, `second` in byte 1.
  void Send(std::uint8_t function, std::uint8_t second, const std::vector<std::uint8_t>& data = {}) {
    DeviceFrame reply = command_;
    reply.functionByte = function;
    reply.payload = {command_.commandCode, second, Byte(2), Byte(3)};
    reply.payload.insert(reply.payload.end(), data.begin(), data.end());
    replies_.push_back(std::move(reply));
  }
  void Result(std::uint8_t function) { Send(function, kSuccess); }
  void Data(std::uint8_t function, const std::vector<std::uint8_t>& data) {
    Send(function, static_cast<std::uint8_t>(data.size()), data);
  }
  void DoorState(const DeviceState& state) { Send(state[0] ? kDoorOpen : kDoorClose, 0); }

 private:
  const DeviceFrame& command_;
  std::vector<DeviceFrame>& replies_;
};

std::uint16_t UserCount(const DeviceState& state) { return static_cast<std::uint16_t>(state[2] | (state[3] << 8)); }
void SetUserCount(DeviceState& state, unsigned count) {
  state[2] = static_cast<std::uint8_t>(count);
  state[3] = static_cast<std::uint8_t>(count >> 8);
}

// The lock's stored feature of a user, in the six part frames: a part's
// number is its last data byte. Part 1 carries the user, the permission and
// 32 feature bytes, parts 2 to 5 35 bytes each and part 6 the last 21.
void SendFeature(Answers& answers, std::uint16_t user, std::uint8_t permission) {
  std::vector<std::uint8_t> feature(kFeatureBytes);
  for (std::size_t i = 0; i < feature.size(); ++i) feature[i] = static_cast<std::uint8_t>(user + i);
  std::size_t at = 0;
  for (std::uint8_t part = 1; part <= 6; ++part) {
    const std::size_t head = part == 1 ? 3 : 0;
    const std::size_t count = part == 1 ? 32 : part == 6 ? kFeatureBytes - at : 35;
    std::vector<std::uint8_t> data(head + count + 1);
    if (part == 1) {
      data[0] = static_cast<std::uint8_t>(user);
      data[1] = static_cast<std::uint8_t>(user >> 8);
      data[2] = permission;
    }
    for (std::size_t i = 0; i < count; ++i) data[head + i] = feature[at + i];
    at += count;
    data[head + count] = part;
    answers.Data(0x52, data);
  }
}

}  // namespace

void SimulateDoorLock(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  Answers answers(command, replies);
  const std::uint8_t fn = command.functionByte;
  if (fn >= 16 && fn <= 24) {
    // Set time, interval, working days, add and remove cards, open, start and
    // stop capture: results 0x30 to 0x38 in that order.
    answers.Result(static_cast<std::uint8_t>(0x30 + fn - 16));
    if (fn == 22) {
      state[0] = 1;
      answers.DoorState(state);
    }
  } else if (fn == 25) {
    answers.Result(0x3F);
    answers.DoorState(state);
  }
}

void SimulateFingerprintLock(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  Answers answers(command, replies);
  const std::uint8_t fn = command.functionByte;
  if (fn >= 16 && fn <= 19) {  // clock, interval and working days
    answers.Result(static_cast<std::uint8_t>(0x30 + fn - 16));
    return;
  }
  switch (fn) {
    case 22:  // open the door
      state[0] = 1;
      answers.Result(0x34);
      answers.DoorState(state);
      break;
    case 23:
    case 24:  // start and stop capture
      answers.Result(fn == 23 ? 0x35 : 0x36);
      break;
    case 25:
      answers.Result(0x37);
      answers.DoorState(state);
      break;
    case 29:
      answers.Data(0x54, {state[2], state[3]});
      break;
    case 30:
      if (UserCount(state) > 0) SetUserCount(state, UserCount(state) - 1u);
      answers.Result(0x38);
      break;
    case 31:
      SetUserCount(state, 0);
      answers.Result(0x39);
      break;
    case 32:
      answers.Data(0x55, {state[4]});
      break;
    case 33:
      state[1] = answers.Byte(4);
      answers.Result(0x3B);
      break;
    case 34:
      answers.Data(0x53, {state[1]});
      break;
    case 35:  // one part of a feature: k in byte 3; the lock answers the last
      if (answers.Byte(3) == 1) state[4] = answers.Byte(6);
      if (answers.Byte(3) == 6) {
        SetUserCount(state, UserCount(state) + 1u);
        answers.Result(0x3A);
      }
      break;
    case 36:
      SendFeature(answers, static_cast<std::uint16_t>(answers.Byte(4) | (answers.Byte(5) << 8)), state[4]);
      break;
    default:
      break;
  }
}

}  // namespace standin
