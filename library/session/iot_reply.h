#pragma once
// A device's reply or event as it arrives in an "iotm" body, and the one
// bounded reader through which every decoder takes its payload.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct IotReply {
  std::uint32_t nvsid = 0;
  std::uint16_t netId = 0;
  std::uint16_t nodeAddress = 0;
  std::uint8_t commandCode = 0;
  std::uint8_t functionByte = 0;
  std::vector<std::uint8_t> payload;
};

// Unpacks and checks an "iotm" body: inflated when `zipped`, then the outer
// sum. Nothing for a body that does not inflate or whose sum is wrong; a
// body that is no frame at all gives a reply with function byte 0.
std::optional<IotReply> UnpackIotReply(std::uint32_t nvsid, std::string_view body, bool zipped);

// Little-endian reads of the payload; every byte past its end reads as 0.
class PayloadReader {
 public:
  explicit PayloadReader(const std::vector<std::uint8_t>& payload) : bytes_(payload) {}
  std::size_t Size() const { return bytes_.size(); }
  std::uint8_t U8(std::size_t at) const { return at < bytes_.size() ? bytes_[at] : 0; }
  std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(U8(at) | (U8(at + 1) << 8)); }
  std::uint32_t U32(std::size_t at) const {
    return static_cast<std::uint32_t>(U16(at)) | (static_cast<std::uint32_t>(U16(at + 2)) << 16);
  }
  std::int16_t I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  // Up to `count` bytes from `at`, fewer when the payload ends first.
  std::vector<std::uint8_t> Bytes(std::size_t at, std::size_t count) const;

 private:
  const std::vector<std::uint8_t>& bytes_;
};
