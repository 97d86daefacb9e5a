// The PortAudio backend. PortAudio's set-up and its stream calls are not
// thread-safe, so every call outside the stream callbacks is made under one
// lock, and the library is initialised once for all the objects using it.
// The callbacks only copy between the device and a ring; the capture's
// sink runs on a thread of the capture's own.
#include <portaudio.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/audio_backends.h"
#include "platform/audio_ring.h"

namespace plat {
namespace {

constexpr unsigned long kFramesPerBuffer = kCaptureBlockBytes / sizeof(std::int16_t);
// About the ten blocks a capture may have queued before they are taken.
constexpr std::size_t kCaptureRingBytes = 10 * kCaptureBlockBytes;
constexpr std::chrono::milliseconds kCaptureWakeUp(20);

std::mutex& PaLock() {
  static std::mutex lock;
  return lock;
}

int g_users = 0;  // guarded by PaLock()

// One use of the PortAudio library; the first initialises it, the last
// terminates it. Called with PaLock() held.
class PaUse {
 public:
  PaUse() {
    if (g_users == 0 && Pa_Initialize() != paNoError) return;
    ++g_users;
    ok_ = true;
  }
  ~PaUse() {
    if (ok_ && --g_users == 0) Pa_Terminate();
  }
  PaUse(const PaUse&) = delete;
  PaUse& operator=(const PaUse&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// Mono 16-bit parameters for the default device of that direction, when
// there is one that takes 8000 Hz. Called with PaLock() held.
bool DefaultParameters(bool input, PaStreamParameters& out) {
  const PaDeviceIndex device = input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
  if (device == paNoDevice) return false;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  if (info == nullptr) return false;
  out = PaStreamParameters{};
  out.device = device;
  out.channelCount = 1;
  out.sampleFormat = paInt16;
  out.suggestedLatency = input ? info->defaultLowInputLatency : info->defaultLowOutputLatency;
  out.hostApiSpecificStreamInfo = nullptr;
  const PaError supported = input ? Pa_IsFormatSupported(&out, nullptr, kAudioSampleRate)
                                  : Pa_IsFormatSupported(nullptr, &out, kAudioSampleRate);
  return supported == paFormatIsSupported;
}

class PortAudioCapture final : public AudioCapture {
 public:
  ~PortAudioCapture() override { Stop(); }

  bool Start(CaptureSink sink) override {
    std::lock_guard lifecycle(lifecycle_);
    if (running_) return true;
    if (!sink) return false;
    std::lock_guard pa(PaLock());
    auto use = std::make_unique<PaUse>();
    PaStreamParameters parameters;
    if (!use->Ok() || !DefaultParameters(true, parameters)) return false;
    PaStream* stream = nullptr;
    if (Pa_OpenStream(&stream, &parameters, nullptr, kAudioSampleRate, kFramesPerBuffer, paClipOff,
                      &PortAudioCapture::Callback, this) != paNoError)
      return false;
    ring_.Clear();
    stop_ = false;
    worker_ = std::thread([this, sink = std::move(sink)] { Deliver(sink); });
    if (Pa_StartStream(stream) != paNoError) {
      Pa_CloseStream(stream);
      StopWorker();
      return false;
    }
    stream_ = stream;
    use_ = std::move(use);
    running_ = true;
    return true;
  }

  void Stop() override {
    std::lock_guard lifecycle(lifecycle_);
    if (!running_) return;
    {
      std::lock_guard pa(PaLock());
      Pa_StopStream(stream_);
      Pa_CloseStream(stream_);
      stream_ = nullptr;
      use_.reset();
    }
    StopWorker();
    running_ = false;
  }

  bool IsRunning() const override { return running_; }

 private:
  static int Callback(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                      PaStreamCallbackFlags, void* user) {
    auto* self = static_cast<PortAudioCapture*>(user);
    if (input != nullptr) self->ring_.Write(input, frames * sizeof(std::int16_t));
    self->ready_.notify_one();
    return paContinue;
  }

  void Deliver(const CaptureSink& sink) {
    std::int16_t block[kFramesPerBuffer];
    while (!stop_) {
      {
        std::unique_lock lock(waitMutex_);
        ready_.wait_for(lock, kCaptureWakeUp, [this] { return stop_ || ring_.Size() >= kCaptureBlockBytes; });
      }
      while (!stop_ && ring_.ReadExactly(block, kCaptureBlockBytes)) sink(block, kCaptureBlockBytes);
    }
  }

  void StopWorker() {
    {
      std::lock_guard lock(waitMutex_);
      stop_ = true;
    }
    ready_.notify_all();
    if (worker_.joinable()) worker_.join();
  }

  std::mutex lifecycle_;
  std::atomic<bool> running_{false};
  std::unique_ptr<PaUse> use_;
  PaStream* stream_ = nullptr;
  AudioRing ring_{kCaptureRingBytes};
  std::mutex waitMutex_;
  std::condition_variable ready_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

class PortAudioPlayback final : public AudioPlayback {
 public:
  ~PortAudioPlayback() override {
    std::lock_guard lifecycle(lifecycle_);
    if (stream_ == nullptr) return;
    std::lock_guard pa(PaLock());
    Pa_CloseStream(stream_);
    stream_ = nullptr;
    use_.reset();
  }

  bool Init() override {
    std::lock_guard lifecycle(lifecycle_);
    if (stream_ != nullptr) return true;
    std::lock_guard pa(PaLock());
    auto use = std::make_unique<PaUse>();
    PaStreamParameters parameters;
    if (!use->Ok() || !DefaultParameters(false, parameters)) return false;
    PaStream* stream = nullptr;
    if (Pa_OpenStream(&stream, nullptr, &parameters, kAudioSampleRate, kFramesPerBuffer, paClipOff,
                      &PortAudioPlayback::Callback, this) != paNoError)
      return false;
    stream_ = stream;
    use_ = std::move(use);
    open_ = true;
    return true;
  }

  std::size_t Write(const std::int16_t* samples, std::size_t bytes) override {
    if (open_ && samples != nullptr) ring_.Write(samples, bytes);
    return bytes;
  }

  bool Start() override {
    std::lock_guard lifecycle(lifecycle_);
    if (stream_ == nullptr) return false;
    std::lock_guard pa(PaLock());
    if (Pa_IsStreamActive(stream_) == 1) return true;
    return Pa_StartStream(stream_) == paNoError;
  }

  void Stop() override {
    std::lock_guard lifecycle(lifecycle_);
    if (stream_ == nullptr) return;
    {
      std::lock_guard pa(PaLock());
      if (Pa_IsStreamStopped(stream_) == 0) Pa_StopStream(stream_);
    }
    ring_.Clear();
  }

 private:
  // Plays what waits; silence when nothing does, never old audio again.
  static int Callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                      PaStreamCallbackFlags, void* user) {
    auto* self = static_cast<PortAudioPlayback*>(user);
    if (output != nullptr) self->ring_.ReadOrSilence(output, frames * sizeof(std::int16_t));
    return paContinue;
  }

  std::mutex lifecycle_;
  std::atomic<bool> open_{false};
  std::unique_ptr<PaUse> use_;
  PaStream* stream_ = nullptr;
  AudioRing ring_{kPlaybackBufferBytes};
};

}  // namespace

bool PortAudioHasDefaultDevice(bool input) {
  std::lock_guard pa(PaLock());
  PaUse use;
  if (!use.Ok()) return false;
  return (input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice()) != paNoDevice;
}

std::unique_ptr<AudioCapture> MakePortAudioCapture() { return std::make_unique<PortAudioCapture>(); }
std::unique_ptr<AudioPlayback> MakePortAudioPlayback() { return std::make_unique<PortAudioPlayback>(); }

}  // namespace plat
