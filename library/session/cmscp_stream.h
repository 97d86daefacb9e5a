#pragma once
// Gathers the bytes of the server connection into 1212-byte CMSCP blocks.
// Bytes beyond a block are kept for the next one; the stream is brought back
// in step at the next "CMSCP/1.0" found anywhere in the buffered bytes, and
// a block that a new start line interrupts is dropped.
#include <array>
#include <cstddef>
#include <string>

#include "library/session/scp_message.h"

class CmscpStreamBuffer {
 public:
  using Block = std::array<char, kScpBlockSize>;

  void Append(const char* data, std::size_t length);
  // Takes the next whole block; false when none is complete yet.
  bool NextBlock(Block& block);
  void Clear() { buffer_.clear(); }
  std::size_t Buffered() const { return buffer_.size(); }

 private:
  std::string buffer_;
};
