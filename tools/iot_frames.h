#pragma once
// The device frames inside "iot" and "iotm" bodies, read and written by the
// stand-in's own code: 0xCC 0xFF, the inner packet (length, sum, 0x0A 0x09,
// check word, net id, node address, command code, function byte, payload)
// and the outer sum.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/cmscp_text.h"

namespace standin {

struct DeviceFrame {
  std::uint16_t netId = 0;  // as on the wire (0xFFFF stands for 0)
  std::uint16_t nodeAddress = 0;
  std::uint8_t commandCode = 0;
  std::uint8_t functionByte = 0;
  std::vector<std::uint8_t> payload;
};

// The frame bytes; empty when the payload is longer than 243 bytes.
std::string EncodeDeviceFrame(const DeviceFrame& frame);
// Every check of the frame: marks, length, both sums, the check word.
std::optional<DeviceFrame> DecodeDeviceFrame(const std::string& bytes);

// "iotack" for the request with this CSeq: the status in CType.
OutgoingMessage IotAck(int cseq, int nvsid, int status);
// "iotm" carrying a device's frame, from gateway `nvsid`.
OutgoingMessage IotReply(int nvsid, const DeviceFrame& frame);

}  // namespace standin
