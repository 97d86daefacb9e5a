#pragma once
// The byte frame of one device command or reply: 0xCC 0xFF, an inner packet
// of L bytes (length, inner sum, 0x0A 0x09, check word, net id, node address,
// command code, function byte, payload), and an outer sum. Little-endian.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

constexpr std::size_t kIotInnerHeader = 12;
constexpr std::size_t kIotMaxPayload = 243;  // L must fit one byte
constexpr std::uint16_t kIotChecksumBase = 0xAAAA;

// Sets byte 1 of the L-byte packet to its 8-bit sum and bytes 4-5 to base + sum.
void SetFrameChecksum(std::uint8_t* packet, std::uint16_t base);

// The whole frame, or nothing when the payload is longer than 243 bytes.
// A net id of 0 goes out as 0xFFFF.
std::optional<std::vector<std::uint8_t>> BuildIotFrame(std::uint8_t commandCode, std::uint8_t functionByte,
                                                       const std::uint8_t* payload, std::size_t payloadLength,
                                                       std::uint16_t netId, std::uint16_t nodeAddress);

// Function bytes whose commands record their sending state in the node file.
inline bool IsRecordedFunction(std::uint8_t functionByte) {
  return (functionByte >= 16 && functionByte <= 31) || (functionByte >= 48 && functionByte <= 63);
}
