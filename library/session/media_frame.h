#pragma once
// The audio frames of the media connection. Each frame is a 4-byte
// interleave header ('$', channel, big-endian length of the rest), a
// 12-byte header laid out little-endian as the platform server expects
// (not in the byte order of RTP), and the payload:
//   4-7   version 2 in bits 0-1, payload type in bits 9-15, sequence
//         number in bits 16-31
//   8-11  timestamp
//   12-15 SSRC bytes as stored
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

constexpr std::uint8_t kFrameMark = 0x24;  // '$'
constexpr std::size_t kFrameInterleaveBytes = 4;
constexpr std::size_t kFrameHeaderBytes = 16;
// The longest length field a receiver accepts: 12 + 80 payload bytes.
constexpr std::size_t kMaxReceivedFrameLength = 92;
constexpr int kPayloadTypePcma = 8;

struct MediaFrameHeader {
  int payloadType = kPayloadTypePcma;
  std::uint16_t sequence = 0;
  std::uint32_t timestamp = 0;
  std::array<std::uint8_t, 4> ssrc{};
};

// Writes the 16 header bytes and the payload to `out`, which holds at least
// kFrameHeaderBytes + count bytes. Returns the frame's size.
std::size_t WriteMediaFrame(const MediaFrameHeader& header, const std::uint8_t* payload, std::size_t count,
                            std::uint8_t* out);

// Called for every whole frame found: its payload type and payload.
using MediaFrameHandler = std::function<void(int payloadType, const std::uint8_t* payload, std::size_t count)>;

// Hands every whole frame in data[0, size) to `onFrame`, in order. A header
// is recognised at '$', a channel of 0 or 1 and a length of at most 92; a
// recognised length of 12 or less ends the parse (the bytes are dropped).
// Returns how many bytes at the end of the data begin a frame that has not
// fully arrived: the caller keeps them and puts the next bytes behind them.
// Never reads outside the data.
std::size_t ParseMediaFrames(const std::uint8_t* data, std::size_t size, const MediaFrameHandler& onFrame);
