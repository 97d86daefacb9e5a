#include "library/session/media_frame.h"

#include <cstring>

namespace {

constexpr std::size_t kFrameFixedHeaderBytes = kFrameHeaderBytes - kFrameInterleaveBytes;  // 12

void PutLittleEndian32(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::size_t WriteMediaFrame(const MediaFrameHeader& header, const std::uint8_t* payload, std::size_t count,
                            std::uint8_t* out) {
  std::memset(out, 0, kFrameHeaderBytes);
  const std::size_t length = count + kFrameFixedHeaderBytes;
  out[0] = kFrameMark;
  out[1] = 0;
  out[2] = static_cast<std::uint8_t>(length >> 8);
  out[3] = static_cast<std::uint8_t>(length);
  const std::uint32_t word = 2u | (static_cast<std::uint32_t>(header.payloadType & 0x7F) << 9) |
                             (static_cast<std::uint32_t>(header.sequence) << 16);
  PutLittleEndian32(out + 4, word);
  PutLittleEndian32(out + 8, header.timestamp);
  std::memcpy(out + 12, header.ssrc.data(), header.ssrc.size());
  if (count > 0 && payload != nullptr) std::memcpy(out + kFrameHeaderBytes, payload, count);
  return kFrameHeaderBytes + count;
}

std::size_t ParseMediaFrames(const std::uint8_t* data, std::size_t size, const MediaFrameHandler& onFrame) {
  if (data == nullptr) return 0;
  std::size_t i = 0;
  for (;;) {
    std::size_t length = 0;
    bool found = false;
    for (; i < size; ++i) {
      if (data[i] != kFrameMark) continue;
      if (i + 1 >= size) return size - i;  // the header may still come
      if (data[i + 1] > 1) continue;
      if (i + 3 >= size) return size - i;
      length = (static_cast<std::size_t>(data[i + 2]) << 8) | data[i + 3];
      if (length > kMaxReceivedFrameLength) continue;
      found = true;
      break;
    }
    if (!found || length <= kFrameFixedHeaderBytes) return 0;
    if (i + kFrameInterleaveBytes + length > size) return size - i;
    const int payloadType = (data[i + 5] >> 1) & 0x7F;
    if (onFrame) onFrame(payloadType, data + i + kFrameHeaderBytes, length - kFrameFixedHeaderBytes);
    i += kFrameInterleaveBytes + length;
  }
}
