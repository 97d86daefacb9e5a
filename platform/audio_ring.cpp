#include "platform/audio_ring.h"

#include <algorithm>
#include <cstring>

namespace plat {

AudioRing::AudioRing(std::size_t capacity) : buffer_(capacity) {}

std::size_t AudioRing::Write(const void* data, std::size_t bytes) {
  const std::size_t capacity = buffer_.size();
  if (data == nullptr || bytes == 0 || capacity == 0) return bytes;
  const auto* in = static_cast<const std::uint8_t*>(data);
  std::size_t count = bytes;
  if (count > capacity) {
    in += count - capacity;
    count = capacity;
  }
  std::lock_guard lock(mutex_);
  if (size_ + count > capacity) {
    const std::size_t drop = size_ + count - capacity;
    head_ = (head_ + drop) % capacity;
    size_ -= drop;
  }
  const std::size_t tail = (head_ + size_) % capacity;
  const std::size_t first = std::min(count, capacity - tail);
  std::memcpy(buffer_.data() + tail, in, first);
  std::memcpy(buffer_.data(), in + first, count - first);
  size_ += count;
  return bytes;
}

std::size_t AudioRing::TakeLocked(std::uint8_t* out, std::size_t bytes) {
  const std::size_t capacity = buffer_.size();
  const std::size_t count = std::min(bytes, size_);
  if (count == 0) return 0;
  const std::size_t first = std::min(count, capacity - head_);
  std::memcpy(out, buffer_.data() + head_, first);
  std::memcpy(out + first, buffer_.data(), count - first);
  head_ = (head_ + count) % capacity;
  size_ -= count;
  return count;
}

std::size_t AudioRing::ReadOrSilence(void* out, std::size_t bytes) {
  if (out == nullptr) return 0;
  auto* bytesOut = static_cast<std::uint8_t*>(out);
  std::size_t taken = 0;
  {
    std::lock_guard lock(mutex_);
    taken = TakeLocked(bytesOut, bytes);
  }
  std::memset(bytesOut + taken, 0, bytes - taken);
  return taken;
}

bool AudioRing::ReadExactly(void* out, std::size_t bytes) {
  if (out == nullptr) return false;
  std::lock_guard lock(mutex_);
  if (size_ < bytes) return false;
  TakeLocked(static_cast<std::uint8_t*>(out), bytes);
  return true;
}

std::size_t AudioRing::Size() const {
  std::lock_guard lock(mutex_);
  return size_;
}

void AudioRing::Clear() {
  std::lock_guard lock(mutex_);
  head_ = 0;
  size_ = 0;
}

}  // namespace plat
