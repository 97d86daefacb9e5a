#include "platform/guid.h"

#include <sys/random.h>

#include <random>

namespace plat {

std::array<std::uint8_t, 16> NewGuidBytes() {
  std::array<std::uint8_t, 16> bytes{};
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t n = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
  }
  if (filled < bytes.size()) {
    std::random_device device;
    for (auto& b : bytes) b = static_cast<std::uint8_t>(device());
  }
  return bytes;
}

}  // namespace plat
