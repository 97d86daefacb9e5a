#include "platform/manual_reset_event.h"

#include <chrono>

namespace plat {

void ManualResetEvent::Set() {
  {
    std::lock_guard lock(mutex_);
    set_ = true;
  }
  changed_.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool ManualResetEvent::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool ManualResetEvent::WaitFor(std::uint32_t milliseconds) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return set_; });
}

void ManualResetEvent::Wait() const {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return set_; });
}

}  // namespace plat
