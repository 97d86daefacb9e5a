#include "tools/loopback_listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace standin {

std::optional<LoopbackListener> OpenLoopbackListener(const std::string& address, std::uint16_t port) {
  in_addr host{};
  if (inet_pton(AF_INET, address.c_str(), &host) != 1 || (ntohl(host.s_addr) >> 24) != 127) return std::nullopt;
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_addr = host;
  where.sin_port = htons(port);
  socklen_t length = sizeof where;
  int pipeFds[2] = {-1, -1};
  if (bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0 || listen(fd, 16) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&where), &length) != 0 ||
      pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
    close(fd);
    return std::nullopt;
  }
  return LoopbackListener{fd, pipeFds[0], pipeFds[1], ntohs(where.sin_port)};
}

void CloseDescriptors(std::initializer_list<int*> descriptors) {
  for (int* fd : descriptors) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

}  // namespace standin
