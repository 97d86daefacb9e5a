#include "tests/support/device_replies.h"

#include "library/session/reply_routing.h"

namespace testsupport {

std::string LibraryReplyText(const IotReply& reply) { return RouteIotReply(reply).text; }

std::string LibraryReplyText(std::uint32_t nvsid, const standin::DeviceFrame& frame) {
  IotReply reply;
  reply.nvsid = nvsid;
  reply.netId = frame.netId;
  reply.nodeAddress = frame.nodeAddress;
  reply.commandCode = frame.commandCode;
  reply.functionByte = frame.functionByte;
  reply.payload = frame.payload;
  return LibraryReplyText(reply);
}

std::string LibraryReplyText(std::uint32_t nvsid, std::string_view iotmBody, bool zipped) {
  const std::optional<IotReply> reply = UnpackIotReply(nvsid, iotmBody, zipped);
  return reply ? LibraryReplyText(*reply) : std::string();
}

SimulatedDevice::SimulatedDevice(std::uint8_t commandCode, std::uint16_t netId, std::uint16_t nodeAddress,
                                 std::uint32_t nvsid)
    : m_simulate(standin::SimulatorOf(commandCode)), m_netId(netId), m_nodeAddress(nodeAddress), m_nvsid(nvsid) {}

std::vector<standin::DeviceFrame> SimulatedDevice::Answer(const IotCommand& command) {
  std::vector<standin::DeviceFrame> replies;
  if (!m_simulate) return replies;
  const standin::DeviceFrame frame{m_netId, m_nodeAddress, command.commandCode, command.functionByte,
                                   command.payload};
  m_simulate(frame, m_state, replies);
  return replies;
}

std::vector<std::string> SimulatedDevice::Send(const std::optional<IotCommand>& command) {
  std::vector<std::string> texts;
  if (!command) return texts;
  for (const standin::DeviceFrame& reply : Answer(*command)) texts.push_back(LibraryReplyText(m_nvsid, reply));
  return texts;
}

std::string SimulatedDevice::One(const std::optional<IotCommand>& command) {
  const auto texts = Send(command);
  return texts.size() == 1 ? texts[0] : std::string();
}

}  // namespace testsupport
