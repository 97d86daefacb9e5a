#include "tools/iot_frames.h"

namespace standin {

namespace {
std::uint8_t Sum(const std::string& bytes, std::size_t from, std::size_t to) {
  unsigned sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += static_cast<unsigned char>(bytes[i]);
  return static_cast<std::uint8_t>(sum);
}
void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
std::uint16_t Get16(const std::string& in, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(in[at]) | (static_cast<unsigned char>(in[at + 1]) << 8));
}
}  // namespace

std::string EncodeDeviceFrame(const DeviceFrame& frame) {
  if (frame.payload.size() > 243) return {};
  std::string inner;
  inner.push_back(static_cast<char>(12 + frame.payload.size()));
  inner.push_back(0);  // inner sum, below
  inner.push_back(0x0A);
  inner.push_back(0x09);
  Put16(inner, 0xAAAA);
  Put16(inner, frame.netId);
  Put16(inner, frame.nodeAddress);
  inner.push_back(static_cast<char>(frame.commandCode));
  inner.push_back(static_cast<char>(frame.functionByte));
  inner.append(frame.payload.begin(), frame.payload.end());
  const std::uint8_t sum = Sum(inner, 0, inner.size());
  inner[1] = static_cast<char>(sum);
  const std::uint16_t check = static_cast<std::uint16_t>(0xAAAA + sum);
  inner[4] = static_cast<char>(check & 0xFF);
  inner[5] = static_cast<char>(check >> 8);
  std::string out = "\xCC\xFF" + inner;
  out.push_back(static_cast<char>(Sum(out, 0, out.size())));
  return out;
}

std::optional<DeviceFrame> DecodeDeviceFrame(const std::string& bytes) {
  if (bytes.size() < 15 || static_cast<unsigned char>(bytes[0]) != 0xCC ||
      static_cast<unsigned char>(bytes[1]) != 0xFF)
    return std::nullopt;
  const std::size_t length = static_cast<unsigned char>(bytes[2]);
  if (length < 12 || bytes.size() < length + 3) return std::nullopt;
  if (Sum(bytes, 0, length + 2) != static_cast<unsigned char>(bytes[length + 2])) return std::nullopt;
  std::string inner = bytes.substr(2, length);
  const std::uint8_t innerSum = static_cast<std::uint8_t>(inner[1]);
  const std::uint16_t check = Get16(inner, 4);
  inner[1] = 0;
  inner[4] = static_cast<char>(0xAA);
  inner[5] = static_cast<char>(0xAA);
  if (Sum(inner, 0, inner.size()) != innerSum || check != static_cast<std::uint16_t>(0xAAAA + innerSum) ||
      inner[2] != 0x0A || inner[3] != 0x09)
    return std::nullopt;
  DeviceFrame frame;
  frame.netId = Get16(inner, 6);
  frame.nodeAddress = Get16(inner, 8);
  frame.commandCode = static_cast<std::uint8_t>(inner[10]);
  frame.functionByte = static_cast<std::uint8_t>(inner[11]);
  frame.payload.assign(inner.begin() + 12, inner.end());
  return frame;
}

OutgoingMessage IotAck(int cseq, int nvsid, int status) {
  OutgoingMessage m;
  m.cmd = "iotack";
  m.cseq = cseq;
  m.classValue = nvsid;
  m.ctype = std::to_string(status);
  return m;
}

OutgoingMessage IotReply(int nvsid, const DeviceFrame& frame) {
  OutgoingMessage m;
  m.cmd = "iotm";
  m.classValue = nvsid;
  m.contentType = "sdp";
  m.body = EncodeDeviceFrame(frame);
  return m;
}

}  // namespace standin
