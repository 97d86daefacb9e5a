#pragma once
// An event that stays signalled until it is reset; any number of threads may wait on it.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace plat {

class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool initiallySet = false) : set_(initiallySet) {}
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event is (or becomes) signalled within `milliseconds`.
  bool WaitFor(std::uint32_t milliseconds) const;
  void Wait() const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool set_;
};

}  // namespace plat
