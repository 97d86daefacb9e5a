#pragma once
// A plain blocking-with-deadlines TCP client on loopback for the stand-in's tests.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/cmscp_text.h"

namespace standin_test {

using std::chrono::milliseconds;

class LoopbackClient {
 public:
  LoopbackClient() = default;
  ~LoopbackClient();
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  bool Connect(std::uint16_t port, const char* address = "127.0.0.1");
  void Close();
  int Fd() const { return fd_; }

  bool SendAll(const std::string& bytes, milliseconds timeout = milliseconds(5000));
  bool SendBlock(const standin::Block& block) {
    return SendAll(std::string(reinterpret_cast<const char*>(block.data()), block.size()));
  }
  // A block holding `text` at its start, the rest zero.
  bool SendText(const std::string& text);

  // Exactly `count` bytes; nullopt on time-out or end of stream. The size of
  // every read is appended to `reads` when given.
  std::optional<std::string> ReadExactly(std::size_t count, milliseconds timeout,
                                         std::vector<std::size_t>* reads = nullptr);
  std::optional<standin::ParsedMessage> ReadMessage(milliseconds timeout = milliseconds(5000));
  // True when no byte and no end of stream arrive within `wait`.
  bool NothingWithin(milliseconds wait);
  // True when the stream ends within `timeout` (bytes before the end are skipped).
  bool EndsWithin(milliseconds timeout);

 private:
  int fd_ = -1;
};

std::string BlockBytes(const standin::Block& block);
std::string TextBlock(const std::string& text);

}  // namespace standin_test
