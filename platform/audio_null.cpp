// The backend of a machine without a sound card: nothing ever opens.
#include "platform/audio_backends.h"

namespace plat {
namespace {

class NullCapture final : public AudioCapture {
 public:
  bool Start(CaptureSink) override { return false; }
  void Stop() override {}
  bool IsRunning() const override { return false; }
};

class NullPlayback final : public AudioPlayback {
 public:
  bool Init() override { return false; }
  std::size_t Write(const std::int16_t*, std::size_t bytes) override { return bytes; }
  bool Start() override { return false; }
  void Stop() override {}
};

}  // namespace

std::unique_ptr<AudioCapture> MakeNullCapture() { return std::make_unique<NullCapture>(); }
std::unique_ptr<AudioPlayback> MakeNullPlayback() { return std::make_unique<NullPlayback>(); }

}  // namespace plat
