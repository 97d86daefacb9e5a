#include "library/session/iot_reply.h"

#include "library/session/message_body.h"

namespace {
constexpr std::size_t kUnpackCapacity = 4096;
}

std::optional<IotReply> UnpackIotReply(std::uint32_t nvsid, std::string_view body, bool zipped) {
  std::string data;
  if (zipped) {
    auto inflated = Inflate(body, kUnpackCapacity);
    if (!inflated) return std::nullopt;
    data = std::move(*inflated);
  } else {
    data.assign(body.substr(0, std::min(body.size(), kUnpackCapacity)));
  }
  IotReply reply;
  reply.nvsid = nvsid;
  auto at = [&data](std::size_t i) -> std::uint8_t {
    return i < data.size() ? static_cast<std::uint8_t>(data[i]) : 0;
  };
  if (at(0) != 0xCC || at(1) != 0xFF) return reply;  // no frame: function byte 0
  const std::size_t length = at(2);
  unsigned sum = 0;
  for (std::size_t i = 0; i < length + 2; ++i) sum += at(i);
  if (static_cast<std::uint8_t>(sum) != at(length + 2)) return std::nullopt;
  // The inner packet as far as L reaches, zero beyond what arrived.
  std::vector<std::uint8_t> inner(std::max<std::size_t>(length, 12), 0);
  for (std::size_t i = 0; i < length; ++i) inner[i] = at(2 + i);
  reply.netId = static_cast<std::uint16_t>(inner[6] | (inner[7] << 8));
  reply.nodeAddress = static_cast<std::uint16_t>(inner[8] | (inner[9] << 8));
  reply.commandCode = inner[10];
  reply.functionByte = inner[11];
  if (length > 12) reply.payload.assign(inner.begin() + 12, inner.begin() + static_cast<std::ptrdiff_t>(length));
  return reply;
}

std::vector<std::uint8_t> PayloadReader::Bytes(std::size_t at, std::size_t count) const {
  if (at >= bytes_.size()) return {};
  const std::size_t n = std::min(count, bytes_.size() - at);
  return std::vector<std::uint8_t>(bytes_.begin() + static_cast<std::ptrdiff_t>(at),
                                   bytes_.begin() + static_cast<std::ptrdiff_t>(at + n));
}
