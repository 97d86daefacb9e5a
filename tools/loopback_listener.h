#pragma once
// A listening TCP socket on a loopback address, with the pipe that wakes the
// thread polling it.
#include <cstdint>
#include <optional>
#include <string>

namespace standin {

struct LoopbackListener {
  int listenFd = -1;
  int wakeRead = -1;
  int wakeWrite = -1;
  std::uint16_t port = 0;  // the port bound (a free one when 0 was asked for)
};

// Listens on `address`, a numeric address within 127.0.0.0/8; nothing when
// the address is refused or the port cannot be bound.
std::optional<LoopbackListener> OpenLoopbackListener(const std::string& address, std::uint16_t port);
// Closes the descriptors that are open and marks them closed.
void CloseDescriptors(std::initializer_list<int*> descriptors);

}  // namespace standin
