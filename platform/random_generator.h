#pragma once
// A small generator with the value range of the Windows C runtime (0..32767),
// so that texts built from its numbers keep their usual lengths. One per
// owner; not shared between threads without the owner's lock.
#include <cstdint>

namespace plat {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed = 1) : state_(seed) {}
  void Seed(std::uint32_t seed) { state_ = seed; }
  // 0 to 32767.
  int Next();

 private:
  std::uint32_t state_;
};

}  // namespace plat
