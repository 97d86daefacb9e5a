#pragma once
// The audio devices of a call: capture from the default input device and
// playback on the default output device, both PCM signed 16-bit mono at
// 8000 Hz. The backend is chosen here: PortAudio when it finds a device,
// otherwise a null backend on which every start fails (a machine without a
// sound card). Tests select a fake backend through the seam below.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace plat {

inline constexpr int kAudioSampleRate = 8000;
// One capture block: 80 samples, 10 ms.
inline constexpr std::size_t kCaptureBlockBytes = 160;
// The playback buffer: one second.
inline constexpr std::size_t kPlaybackBufferBytes = 16000;

// Receives captured audio: always kCaptureBlockBytes bytes.
using CaptureSink = std::function<void(const std::int16_t* samples, std::size_t bytes)>;

class AudioCapture {
 public:
  virtual ~AudioCapture() = default;
  // Opens the device and delivers its audio to `sink` block by block, in
  // order, on a thread of the capture's own (never on a real-time audio
  // thread). False, with nothing left open, when no device opens or the
  // device refuses the format. A running capture is not started again.
  virtual bool Start(CaptureSink sink) = 0;
  // Ends delivery: once it returns, the sink is not called again. Safe to
  // call at any time, more than once and from several threads, but not
  // from inside the sink.
  virtual void Stop() = 0;
  virtual bool IsRunning() const = 0;
};

class AudioPlayback {
 public:
  virtual ~AudioPlayback() = default;
  // Opens the device with a one-second buffer. False leaves the player
  // without a device; Write, Start and Stop then do nothing.
  virtual bool Init() = 0;
  // Queues PCM without waiting and returns `bytes`. Audio that waits longer
  // than the buffer holds is overwritten, oldest first; when nothing waits
  // the device plays silence.
  virtual std::size_t Write(const std::int16_t* samples, std::size_t bytes) = 0;
  virtual bool Start() = 0;
  // Stops and discards the audio still buffered.
  virtual void Stop() = 0;
};

std::unique_ptr<AudioCapture> CreateAudioCapture();
std::unique_ptr<AudioPlayback> CreateAudioPlayback();

// Which backend the factories use. Automatic: PortAudio when it reports a
// default device of that direction, else Null.
enum class AudioBackend { Automatic, Fake, Null };

// Test-only: not part of any public interface.
void SetAudioBackendForTesting(AudioBackend backend);

}  // namespace plat
