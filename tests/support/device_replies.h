#pragma once
// The library's own message texts for device replies: for a reply frame,
// through the library's reply routing, and for what a simulated device of
// the stand-in answers to a command that the library's command functions
// describe.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/api/iot_command.h"
#include "library/session/iot_reply.h"
#include "tools/iot_frames.h"
#include "tools/simulated_devices.h"

namespace testsupport {

// The text the library delivers for the frame ("" when it delivers none).
std::string LibraryReplyText(const IotReply& reply);
std::string LibraryReplyText(std::uint32_t nvsid, const standin::DeviceFrame& frame);
// The same for the body of an "iotm" message (the frame's bytes, inflated
// first when `zipped`), unpacked and checked as the library does.
std::string LibraryReplyText(std::uint32_t nvsid, std::string_view iotmBody, bool zipped = false);

// One simulated node of the family of a command code, with its kept state.
class SimulatedDevice {
 public:
  explicit SimulatedDevice(std::uint8_t commandCode, std::uint16_t netId = 3, std::uint16_t nodeAddress = 4,
                           std::uint32_t nvsid = 7);
  bool Exists() const { return m_simulate != nullptr; }

  // The frames the device answers the command with, in order.
  std::vector<standin::DeviceFrame> Answer(const IotCommand& command);
  // The library's texts of those answers, in order; none for no command.
  std::vector<std::string> Send(const std::optional<IotCommand>& command);
  // The one answer's text, "" when there is not exactly one.
  std::string One(const std::optional<IotCommand>& command);

 private:
  standin::DeviceSimulator m_simulate;
  standin::DeviceState m_state{};
  std::uint16_t m_netId;
  std::uint16_t m_nodeAddress;
  std::uint32_t m_nvsid;
};

}  // namespace testsupport
