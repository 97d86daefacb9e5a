// The simulated valuables cabinet: boxes 0 to 3 (small, large, small, large)
// and two administrators. It acknowledges every command it receives, then
// the execution of those it carries out, and answers the queries. Its state:
// bytes 0-1 the boxes removed (one bit a box), byte 2 whether the
// administrators were cleared.
#include "tools/simulated_devices.h"

namespace standin {

namespace {

constexpr std::uint8_t kCabinet = 97;
constexpr std::uint8_t kBoxes = 4;
constexpr std::uint8_t kSizes[kBoxes] = {1, 2, 1, 2};
constexpr std::uint32_t kAdmins[] = {12345678, 87654321};
constexpr std::uint8_t kSuccess = 0x55, kFailure = 0xAA;

class Cabinet {
 public:
  Cabinet(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies)
      : command_(command), state_(state), replies_(replies) {}

  void Answer() {
    const std::uint8_t box = Byte(4);
    switch (command_.functionByte) {
      case 16:  // weight of a box
        Ack(0x30, box, Present(box));
        if (Present(box)) {
          const auto grams = static_cast<std::uint16_t>(120 + 35 * box);
          Respond(0x53, {kCabinet, 3, 1, 1, box, static_cast<std::uint8_t>(grams),
                         static_cast<std::uint8_t>(grams >> 8)});
        }
        break;
      case 17:  // open a box: the cabinet reports it opened by command
        Ack(0x31, box, Present(box));
        if (Present(box)) Respond(0x51, {kCabinet, 4, 2, 1, box, 4, 0, 0});
        break;
      case 18: ReceiveAndExecute(0x32, 0x3C, box, Present(box)); break;
      case 19: ReceiveAndExecute(0x33, 0x3D, box, Present(box)); break;
      case 20: ReceiveAndExecute(0x34, 0x3B, box, Present(box)); break;
      case 21: {
        const bool present = Present(box);
        if (present) SetRemoved(RemovedMask() | (1u << box));
        ReceiveAndExecute(0x35, 0x3A, box, present);
        break;
      }
      case 22:  // clear the administrators
        state_[2] = 1;
        Ack(0x36, 0, true);
        break;
      case 23: {  // the administrators' cards
        Ack(0x37, 0, true);
        std::vector<std::uint8_t> payload = {kCabinet, 8, 5, 1};
        for (std::uint32_t admin : kAdmins)
          for (int shift = 0; shift < 32; shift += 8)
            payload.push_back(state_[2] ? 0 : static_cast<std::uint8_t>(admin >> shift));
        Respond(0x52, std::move(payload));
        break;
      }
      case 24: {  // the boxes: number in the low nibble, size in the high one (0 once removed)
        Ack(0x38, 0, true);
        std::vector<std::uint8_t> payload = {kCabinet, kBoxes, 6, 1};
        for (std::uint8_t b = 0; b < kBoxes; ++b)
          payload.push_back(static_cast<std::uint8_t>((Present(b) ? kSizes[b] << 4 : 0) | b));
        Respond(0x50, std::move(payload));
        break;
      }
      case 25:  // initialise again: every box back, the administrators too
        SetRemoved(0);
        state_[2] = 0;
        Ack(0x39, 0, true);
        Respond(0x41, {kCabinet, 0, 7, 1});
        Respond(0x43, {kCabinet, 0, 7, 1});
        break;
      case 28: {  // the users of a box: 1 add, 2 remove, 3 clear, 4 clear those with a password
        const std::uint8_t operation = Byte(5);
        ReceiveAndExecute(0x3E, 0x3F, box, Present(box) && operation >= 1 && operation <= 4);
        break;
      }
      default:
        break;
    }
  }

 private:
  std::uint8_t Byte(std::size_t at) const { return at < command_.payload.size() ? command_.payload[at] : 0; }
  unsigned RemovedMask() const { return state_[0] | (state_[1] << 8); }
  void SetRemoved(unsigned mask) {
    state_[0] = static_cast<std::uint8_t>(mask);
    state_[1] = static_cast<std::uint8_t>(mask >> 8);
  }
  bool Present(std::uint8_t box) const { return box < kBoxes && (RemovedMask() & (1u << box)) == 0; }

  void Respond(std::uint8_t function, std::vector<std::uint8_t> payload) {
    DeviceFrame reply = command_;
    reply.functionByte = function;
    reply.payload = std::move(payload);
    replies_.push_back(std::move(reply));
  }
  // An acknowledgement echoes the command's group and item.
  void Ack(std::uint8_t function, std::uint8_t box, bool success) {
    Respond(function, {kCabinet, success ? kSuccess : kFailure, Byte(2), Byte(3), box});
  }
  void ReceiveAndExecute(std::uint8_t received, std::uint8_t executed, std::uint8_t box, bool success) {
    Ack(received, box, true);
    Ack(executed, box, success);
  }

  const DeviceFrame& command_;
  DeviceState& state_;
  std::vector<DeviceFrame>& replies_;
};

}  // namespace

void SimulateCabinet(const DeviceFrame& command, DeviceState& state, std::vector<DeviceFrame>& replies) {
  Cabinet(command, state, replies).Answer();
}

}  // namespace standin
