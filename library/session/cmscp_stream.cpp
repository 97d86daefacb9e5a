#include "library/session/cmscp_stream.h"

#include <cstring>
#include <string_view>

namespace {
constexpr std::string_view kMarker = "CMSCP/1.0";
}

void CmscpStreamBuffer::Append(const char* data, std::size_t length) {
  if (data != nullptr && length > 0) buffer_.append(data, length);
}

bool CmscpStreamBuffer::NextBlock(Block& block) {
  for (;;) {
    const std::size_t start = buffer_.find(kMarker);
    if (start == std::string::npos) {
      // Keep only what could be the beginning of a marker cut by the read.
      if (buffer_.size() >= kMarker.size()) buffer_.erase(0, buffer_.size() - (kMarker.size() - 1));
      return false;
    }
    if (start > 0) buffer_.erase(0, start);
    const std::size_t window = std::min(buffer_.size(), kScpBlockSize);
    const std::size_t next = std::string_view(buffer_.data(), window).find(kMarker, 1);
    if (next != std::string_view::npos) {
      buffer_.erase(0, next);  // the block in front was cut short
      continue;
    }
    if (buffer_.size() < kScpBlockSize) return false;
    std::memcpy(block.data(), buffer_.data(), kScpBlockSize);
    buffer_.erase(0, kScpBlockSize);
    return true;
  }
}
