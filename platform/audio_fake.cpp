#include "platform/audio_fake.h"

#include <thread>

#include "platform/audio_backends.h"

namespace plat {

FakeAudioDevice& FakeAudioDevice::Instance() {
  static FakeAudioDevice device;
  return device;
}

void FakeAudioDevice::Reset() {
  std::lock_guard lock(mutex_);
  failCaptureStart_ = failPlaybackInit_ = failPlaybackStart_ = false;
  captureStarts_ = captureStops_ = 0;
  queued_.clear();
  delivered_ = 0;
  played_.clear();
  playbackInits_ = playbackStarts_ = playbackStops_ = 0;
  changed_.notify_all();
}

void FakeAudioDevice::FailCaptureStart(bool fail) {
  std::lock_guard lock(mutex_);
  failCaptureStart_ = fail;
}

void FakeAudioDevice::FailPlaybackInit(bool fail) {
  std::lock_guard lock(mutex_);
  failPlaybackInit_ = fail;
}

void FakeAudioDevice::FailPlaybackStart(bool fail) {
  std::lock_guard lock(mutex_);
  failPlaybackStart_ = fail;
}

bool FakeAudioDevice::PushCapture(const std::vector<std::int16_t>& block) {
  if (block.size() * sizeof(std::int16_t) != kCaptureBlockBytes) return false;
  std::lock_guard lock(mutex_);
  if (runningCaptures_ == 0) return false;
  queued_.push_back(block);
  changed_.notify_all();
  return true;
}

bool FakeAudioDevice::WaitCaptureIdle(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return queued_.empty() && inSink_ == 0; });
}

int FakeAudioDevice::CaptureStarts() const {
  std::lock_guard lock(mutex_);
  return captureStarts_;
}

int FakeAudioDevice::CaptureStops() const {
  std::lock_guard lock(mutex_);
  return captureStops_;
}

bool FakeAudioDevice::CaptureRunning() const {
  std::lock_guard lock(mutex_);
  return runningCaptures_ > 0;
}

std::size_t FakeAudioDevice::BlocksDelivered() const {
  std::lock_guard lock(mutex_);
  return delivered_;
}

std::vector<std::int16_t> FakeAudioDevice::Played() const {
  std::lock_guard lock(mutex_);
  return played_;
}

bool FakeAudioDevice::WaitForPlayed(std::size_t samples, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return played_.size() >= samples; });
}

int FakeAudioDevice::PlaybackInits() const {
  std::lock_guard lock(mutex_);
  return playbackInits_;
}

int FakeAudioDevice::PlaybackStarts() const {
  std::lock_guard lock(mutex_);
  return playbackStarts_;
}

int FakeAudioDevice::PlaybackStops() const {
  std::lock_guard lock(mutex_);
  return playbackStops_;
}

bool FakeAudioDevice::PlaybackRunning() const {
  std::lock_guard lock(mutex_);
  return runningPlayers_ > 0;
}

// A capture that delivers the blocks a test pushes, on its own thread.
class FakeCapture final : public AudioCapture {
 public:
  ~FakeCapture() override { Stop(); }

  bool Start(CaptureSink sink) override {
    std::lock_guard lifecycle(lifecycle_);
    if (thread_.joinable()) return true;
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    {
      std::lock_guard lock(device.mutex_);
      if (device.failCaptureStart_ || !sink) return false;
      stop_ = false;
      ++device.runningCaptures_;
      ++device.captureStarts_;
    }
    thread_ = std::thread([this, sink = std::move(sink)] { Deliver(sink); });
    return true;
  }

  void Stop() override {
    std::lock_guard lifecycle(lifecycle_);
    if (!thread_.joinable()) return;
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    {
      std::lock_guard lock(device.mutex_);
      stop_ = true;
      device.changed_.notify_all();
    }
    thread_.join();
    std::lock_guard lock(device.mutex_);
    --device.runningCaptures_;
    ++device.captureStops_;
    if (device.runningCaptures_ == 0) device.queued_.clear();
    device.changed_.notify_all();
  }

  bool IsRunning() const override {
    std::lock_guard lifecycle(lifecycle_);
    return thread_.joinable();
  }

 private:
  void Deliver(const CaptureSink& sink) {
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    std::unique_lock lock(device.mutex_);
    for (;;) {
      device.changed_.wait(lock, [&] { return stop_ || !device.queued_.empty(); });
      if (stop_) return;
      const std::vector<std::int16_t> block = std::move(device.queued_.front());
      device.queued_.pop_front();
      ++device.inSink_;
      lock.unlock();
      sink(block.data(), block.size() * sizeof(std::int16_t));
      lock.lock();
      --device.inSink_;
      ++device.delivered_;
      device.changed_.notify_all();
    }
  }

  mutable std::mutex lifecycle_;
  std::thread thread_;
  bool stop_ = false;  // guarded by the device's mutex
};

// A player that appends what it is given to the device's record.
class FakePlayback final : public AudioPlayback {
 public:
  ~FakePlayback() override {
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    std::lock_guard lock(device.mutex_);
    if (playing_) --device.runningPlayers_;
  }

  bool Init() override {
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    std::lock_guard lock(device.mutex_);
    if (device.failPlaybackInit_) return false;
    if (!open_) ++device.playbackInits_;
    open_ = true;
    return true;
  }

  std::size_t Write(const std::int16_t* samples, std::size_t bytes) override {
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    std::lock_guard lock(device.mutex_);
    if (!open_ || samples == nullptr) return bytes;
    device.played_.insert(device.played_.end(), samples, samples + bytes / sizeof(std::int16_t));
    device.changed_.notify_all();
    return bytes;
  }

  bool Start() override {
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    std::lock_guard lock(device.mutex_);
    if (!open_ || device.failPlaybackStart_) return false;
    ++device.playbackStarts_;
    if (!playing_) ++device.runningPlayers_;
    playing_ = true;
    return true;
  }

  void Stop() override {
    FakeAudioDevice& device = FakeAudioDevice::Instance();
    std::lock_guard lock(device.mutex_);
    if (!open_) return;
    ++device.playbackStops_;
    if (playing_) --device.runningPlayers_;
    playing_ = false;
  }

 private:
  bool open_ = false;     // guarded by the device's mutex
  bool playing_ = false;  // guarded by the device's mutex
};

std::unique_ptr<AudioCapture> MakeFakeCapture() { return std::make_unique<FakeCapture>(); }
std::unique_ptr<AudioPlayback> MakeFakePlayback() { return std::make_unique<FakePlayback>(); }

}  // namespace plat
