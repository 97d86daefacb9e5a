#pragma once
// The stand-in's own reading and writing of the media connection's frames
// and of G.711 A-law, written apart from the library's on purpose.
//
// A frame: '$', channel, big-endian length of the rest, then a 12-byte
// header whose first word is little-endian (version in bits 0-1, marker in
// bit 8, payload type in bits 9-15, sequence in bits 16-31), a
// little-endian timestamp, 4 SSRC bytes, and the payload.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

inline constexpr int kPcmaPayloadType = 8;

struct MediaFrame {
  std::size_t connection = 0;
  int channel = 0;
  std::size_t length = 0;  // the length field
  int version = 0;
  bool marker = false;
  int payloadType = 0;
  std::uint16_t sequence = 0;
  std::uint32_t timestamp = 0;
  std::array<std::uint8_t, 4> ssrc{};
  std::vector<std::uint8_t> payload;
  std::string raw;  // the whole frame as it arrived
};

// A-law by the segment of the sample's magnitude (one's complement for
// negative samples, as G.711 codes them).
std::uint8_t EncodeALaw(std::int16_t sample);
std::int16_t DecodeALaw(std::uint8_t code);

// A frame as the server writes it. `length` replaces the length field
// when not negative (for frames that lie about their size).
std::string BuildMediaFrame(int payloadType, std::uint16_t sequence, std::uint32_t timestamp,
                            const std::vector<std::uint8_t>& payload, int channel = 0, long length = -1);

// Samples [first, first + count) of the stand-in's tone: 1000 Hz at 8000
// samples per second, amplitude 8000.
std::vector<std::int16_t> ToneSamples(std::size_t first, std::size_t count);
std::vector<std::uint8_t> EncodeALawSamples(const std::vector<std::int16_t>& samples);

// Reads the frame at the start of `bytes` (which begins with '$'): the
// frame, or nothing when its header or body has not fully arrived.
// `used` receives the frame's size.
bool ReadMediaFrame(const std::string& bytes, MediaFrame& frame, std::size_t& used);

}  // namespace standin
