#include "library/session/iot_frame.h"

#include <cstring>

void SetFrameChecksum(std::uint8_t* packet, std::uint16_t base) {
  const std::size_t length = packet[0];
  packet[1] = 0;
  packet[4] = static_cast<std::uint8_t>(base & 0xFF);
  packet[5] = static_cast<std::uint8_t>(base >> 8);
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum = static_cast<std::uint8_t>(sum + packet[i]);
  packet[1] = sum;
  const auto word = static_cast<std::uint16_t>(base + sum);
  packet[4] = static_cast<std::uint8_t>(word & 0xFF);
  packet[5] = static_cast<std::uint8_t>(word >> 8);
}

std::optional<std::vector<std::uint8_t>> BuildIotFrame(std::uint8_t commandCode, std::uint8_t functionByte,
                                                       const std::uint8_t* payload, std::size_t payloadLength,
                                                       std::uint16_t netId, std::uint16_t nodeAddress) {
  if (payloadLength > kIotMaxPayload || (payloadLength > 0 && payload == nullptr)) return std::nullopt;
  std::uint8_t packet[256] = {};
  const std::size_t length = payloadLength + kIotInnerHeader;
  packet[0] = static_cast<std::uint8_t>(length);
  packet[2] = 0x0A;
  packet[3] = 0x09;
  const std::uint16_t net = netId == 0 ? 0xFFFF : netId;
  packet[6] = static_cast<std::uint8_t>(net & 0xFF);
  packet[7] = static_cast<std::uint8_t>(net >> 8);
  packet[8] = static_cast<std::uint8_t>(nodeAddress & 0xFF);
  packet[9] = static_cast<std::uint8_t>(nodeAddress >> 8);
  packet[10] = commandCode;
  packet[11] = functionByte;
  if (payloadLength > 0) std::memcpy(packet + kIotInnerHeader, payload, payloadLength);
  SetFrameChecksum(packet, kIotChecksumBase);
  std::vector<std::uint8_t> frame;
  frame.reserve(length + 3);
  frame.push_back(0xCC);
  frame.push_back(0xFF);
  frame.insert(frame.end(), packet, packet + length);
  std::uint8_t sum = 0;
  for (std::uint8_t b : frame) sum = static_cast<std::uint8_t>(sum + b);
  frame.push_back(sum);
  return frame;
}
