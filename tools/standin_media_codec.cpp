#include "tools/standin_media_codec.h"

#include <bit>
#include <cmath>
#include <numbers>

namespace standin {

std::uint8_t EncodeALaw(std::int16_t sample) {
  const bool negative = sample < 0;
  // 12-bit magnitude; a negative sample is coded by its one's complement.
  const unsigned magnitude = static_cast<unsigned>(negative ? -(sample + 1) : sample) >> 4;
  unsigned code = 0;
  if (magnitude < 16) {
    code = magnitude;
  } else {
    const unsigned segment = static_cast<unsigned>(std::bit_width(magnitude)) - 4;  // 1..7
    code = (segment << 4) | ((magnitude >> (segment - 1)) & 0x0F);
  }
  if (!negative) code |= 0x80;
  return static_cast<std::uint8_t>(code ^ 0x55);
}

std::int16_t DecodeALaw(std::uint8_t code) {
  const unsigned value = code ^ 0x55u;
  const unsigned segment = (value >> 4) & 7;
  const unsigned step = value & 0x0F;
  // Middle of the step, in the 13-bit scale, then scaled to 16 bits.
  const unsigned magnitude = segment == 0 ? 2 * step + 1 : (2 * step + 33) << (segment - 1);
  const int sample = static_cast<int>(magnitude << 3);
  return static_cast<std::int16_t>((value & 0x80) ? sample : -sample);
}

std::string BuildMediaFrame(int payloadType, std::uint16_t sequence, std::uint32_t timestamp,
                            const std::vector<std::uint8_t>& payload, int channel, long length) {
  const std::size_t field = length >= 0 ? static_cast<std::size_t>(length) : payload.size() + 12;
  std::string frame;
  frame += '$';
  frame += static_cast<char>(channel);
  frame += static_cast<char>((field >> 8) & 0xFF);
  frame += static_cast<char>(field & 0xFF);
  const std::uint32_t word = 2u | (static_cast<std::uint32_t>(payloadType & 0x7F) << 9) |
                             (static_cast<std::uint32_t>(sequence) << 16);
  for (int i = 0; i < 4; ++i) frame += static_cast<char>((word >> (8 * i)) & 0xFF);
  for (int i = 0; i < 4; ++i) frame += static_cast<char>((timestamp >> (8 * i)) & 0xFF);
  frame += "STND";
  frame.append(payload.begin(), payload.end());
  return frame;
}

std::vector<std::int16_t> ToneSamples(std::size_t first, std::size_t count) {
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double phase = 2.0 * std::numbers::pi * 1000.0 * static_cast<double>(first + i) / 8000.0;
    samples[i] = static_cast<std::int16_t>(std::lround(8000.0 * std::sin(phase)));
  }
  return samples;
}

std::vector<std::uint8_t> EncodeALawSamples(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> codes;
  codes.reserve(samples.size());
  for (std::int16_t s : samples) codes.push_back(EncodeALaw(s));
  return codes;
}

bool ReadMediaFrame(const std::string& bytes, MediaFrame& frame, std::size_t& used) {
  if (bytes.size() < 4) return false;
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  const std::size_t length = (static_cast<std::size_t>(byte(2)) << 8) | byte(3);
  if (bytes.size() < 4 + length) return false;
  frame = MediaFrame{};
  frame.channel = byte(1);
  frame.length = length;
  frame.raw = bytes.substr(0, 4 + length);
  if (length >= 12) {
    std::uint32_t word = 0, timestamp = 0;
    for (int i = 0; i < 4; ++i) {
      word |= static_cast<std::uint32_t>(byte(4 + i)) << (8 * i);
      timestamp |= static_cast<std::uint32_t>(byte(8 + i)) << (8 * i);
    }
    frame.version = static_cast<int>(word & 3);
    frame.marker = (word >> 8) & 1;
    frame.payloadType = static_cast<int>((word >> 9) & 0x7F);
    frame.sequence = static_cast<std::uint16_t>(word >> 16);
    frame.timestamp = timestamp;
    for (int i = 0; i < 4; ++i) frame.ssrc[i] = byte(12 + i);
    frame.payload.assign(bytes.begin() + 16, bytes.begin() + 4 + static_cast<long>(length));
  }
  used = 4 + length;
  return true;
}

}  // namespace standin
