#include "platform/periodic_timer.h"

#include <chrono>
#include <condition_variable>

namespace plat {

struct PeriodicTimer::Run {
  std::mutex mutex;
  std::condition_variable wake;
  bool stop = false;

  void RequestStop() {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    wake.notify_all();
  }

  // The timer thread touches only this record and its own callback, never the
  // PeriodicTimer, so a timer stopped from its callback may be destroyed at once.
  static void Loop(std::shared_ptr<Run> run, std::uint32_t periodMs, std::function<void()> callback) {
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    auto next = clock::now() + period;
    std::unique_lock lock(run->mutex);
    for (;;) {
      if (run->wake.wait_until(lock, next, [&] { return run->stop; })) return;
      lock.unlock();
      callback();
      lock.lock();
      if (run->stop) return;
      next += period;
      const auto now = clock::now();
      if (next < now) next = now;  // a slow callback skips the ticks it missed
    }
  }
};

PeriodicTimer::~PeriodicTimer() { Stop(); }

bool PeriodicTimer::Start(std::uint32_t periodMs, std::function<void()> callback) {
  if (periodMs == 0 || !callback) return false;
  Stop();
  auto run = std::make_shared<Run>();
  std::lock_guard lock(mutex_);
  run_ = run;
  thread_ = std::thread(&Run::Loop, run, periodMs, std::move(callback));
  return true;
}

void PeriodicTimer::Stop() {
  std::thread finished;
  {
    std::lock_guard lock(mutex_);
    if (!run_) return;
    run_->RequestStop();
    run_.reset();
    if (thread_.get_id() == std::this_thread::get_id()) {
      thread_.detach();  // called from the callback: the thread leaves when it returns
      return;
    }
    finished = std::move(thread_);
  }
  if (finished.joinable()) finished.join();
}

bool PeriodicTimer::IsRunning() const {
  std::lock_guard lock(mutex_);
  return run_ != nullptr;
}

}  // namespace plat
