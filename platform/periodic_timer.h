#pragma once
// A periodic callback on a thread of its own.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace plat {

class PeriodicTimer {
 public:
  PeriodicTimer() = default;
  ~PeriodicTimer();
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  // Calls `callback` every `periodMs`, the first time one period after the start.
  // A running timer is stopped first. Returns false when the period is 0.
  bool Start(std::uint32_t periodMs, std::function<void()> callback);

  // Stops the timer. From any other thread it waits until a running callback
  // has returned; from inside the callback it only cancels further calls.
  void Stop();

  bool IsRunning() const;

 private:
  struct Run;  // one started timer: its stop flag and wake-up, shared with its thread

  mutable std::mutex mutex_;
  std::shared_ptr<Run> run_;
  std::thread thread_;
};

}  // namespace plat
