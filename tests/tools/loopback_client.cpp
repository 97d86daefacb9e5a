#include "tools/loopback_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace standin_test {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

std::string BlockBytes(const standin::Block& block) {
  return std::string(reinterpret_cast<const char*>(block.data()), block.size());
}

std::string TextBlock(const std::string& text) {
  std::string block(standin::kBlockSize, '\0');
  std::memcpy(block.data(), text.data(), std::min(text.size(), block.size()));
  return block;
}

LoopbackClient::~LoopbackClient() { Close(); }

bool LoopbackClient::Connect(std::uint16_t port, const char* address) {
  Close();
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(port);
  if (inet_pton(AF_INET, address, &where.sin_addr) != 1 ||
      connect(fd_, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0) {
    Close();
    return false;
  }
  return true;
}

void LoopbackClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool LoopbackClient::SendAll(const std::string& bytes, milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    pollfd p{fd_, POLLOUT, 0};
    if (poll(&p, 1, RemainingMs(deadline)) <= 0) return false;
    const ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

bool LoopbackClient::SendText(const std::string& text) { return SendAll(TextBlock(text)); }

std::optional<std::string> LoopbackClient::ReadExactly(std::size_t count, milliseconds timeout,
                                                       std::vector<std::size_t>* reads) {
  const auto deadline = Clock::now() + timeout;
  std::string out(count, '\0');
  std::size_t have = 0;
  while (have < count) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, RemainingMs(deadline)) <= 0) return std::nullopt;
    const ssize_t n = recv(fd_, out.data() + have, count - have, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) return std::nullopt;
    if (reads != nullptr) reads->push_back(static_cast<std::size_t>(n));
    have += static_cast<std::size_t>(n);
  }
  return out;
}

std::optional<standin::ParsedMessage> LoopbackClient::ReadMessage(milliseconds timeout) {
  const auto bytes = ReadExactly(standin::kBlockSize, timeout);
  if (!bytes) return std::nullopt;
  return standin::ParseBlock(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
}

bool LoopbackClient::NothingWithin(milliseconds wait) {
  pollfd p{fd_, POLLIN, 0};
  return poll(&p, 1, static_cast<int>(wait.count())) == 0;
}

bool LoopbackClient::EndsWithin(milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  char buffer[4096];
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, RemainingMs(deadline)) <= 0) return false;
    const ssize_t n = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n == 0) return true;
    if (n < 0 && errno != EAGAIN && errno != EINTR) return true;
  }
}

}  // namespace standin_test
