#pragma once
// A byte ring between an audio device's callback and the code around it.
// Thread-safe; the lock is held only while bytes are copied.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace plat {

class AudioRing {
 public:
  explicit AudioRing(std::size_t capacity);

  // Appends `bytes`; when they do not fit, the oldest bytes waiting are
  // dropped (a writer that runs ahead overwrites unplayed audio). Bytes
  // beyond the capacity keep only their newest part. Returns `bytes`.
  std::size_t Write(const void* data, std::size_t bytes);
  // Takes up to `bytes` into `out` and fills the rest of `out` with silence
  // (zero bytes). Returns the number of bytes of audio taken.
  std::size_t ReadOrSilence(void* out, std::size_t bytes);
  // Takes exactly `bytes` when that many wait; otherwise takes nothing.
  bool ReadExactly(void* out, std::size_t bytes);
  std::size_t Size() const;
  void Clear();

 private:
  std::size_t TakeLocked(std::uint8_t* out, std::size_t bytes);

  mutable std::mutex mutex_;
  std::vector<std::uint8_t> buffer_;
  std::size_t head_ = 0;  // oldest byte
  std::size_t size_ = 0;
};

}  // namespace plat
