#pragma once
// The register of notification copies handed to windows and threads. A copy
// is freed only when it is old enough and its message has left the queue it
// was posted to, and then only after the receiver has had the same time
// again to read it; whatever is left goes when the register is destroyed.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>

class NotifyCopies {
 public:
  // Whether a message with this id and wParam still waits in a queue.
  using QueuedCheck = std::function<bool(std::uint32_t message, std::uintptr_t wParam)>;

  explicit NotifyCopies(std::uint32_t minimumAgeMs, QueuedCheck queued);

  // A NUL-terminated heap copy of `text`, registered with the tick `stamp`
  // for the message `message`. The address stays valid until a purge frees it.
  const char* Add(std::string_view text, std::uint32_t message, std::uint32_t stamp);
  // Frees the copies that may go at tick `now`; returns how many were freed.
  std::size_t Purge(std::uint32_t now);
  std::size_t Size() const;

 private:
  struct Copy {
    std::unique_ptr<char[]> bytes;
    std::uint32_t message;
    std::uint32_t stamp;
    bool taken = false;  // seen out of its queue by a purge
    std::uint32_t takenSeen = 0;
  };

  const std::uint32_t minimumAgeMs_;
  const QueuedCheck queued_;
  mutable std::mutex mutex_;
  std::map<const char*, Copy> copies_;
};
