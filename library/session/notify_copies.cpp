#include "library/session/notify_copies.h"

#include <cstring>

NotifyCopies::NotifyCopies(std::uint32_t minimumAgeMs, QueuedCheck queued)
    : minimumAgeMs_(minimumAgeMs), queued_(std::move(queued)) {}

const char* NotifyCopies::Add(std::string_view text, std::uint32_t message, std::uint32_t stamp) {
  auto bytes = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(bytes.get(), text.data(), text.size());
  bytes[text.size()] = '\0';
  const char* address = bytes.get();
  std::lock_guard lock(mutex_);
  copies_.emplace(address, Copy{std::move(bytes), message, stamp});
  return address;
}

std::size_t NotifyCopies::Purge(std::uint32_t now) {
  std::lock_guard lock(mutex_);
  std::size_t freed = 0;
  for (auto it = copies_.begin(); it != copies_.end();) {
    Copy& copy = it->second;
    const bool old = now - copy.stamp > minimumAgeMs_;
    if (old && !copy.taken && !queued_(copy.message, reinterpret_cast<std::uintptr_t>(it->first))) {
      copy.taken = true;
      copy.takenSeen = now;
    }
    if (old && copy.taken && now - copy.takenSeen > minimumAgeMs_) {
      it = copies_.erase(it);
      ++freed;
    } else {
      ++it;
    }
  }
  return freed;
}

std::size_t NotifyCopies::Size() const {
  std::lock_guard lock(mutex_);
  return copies_.size();
}
