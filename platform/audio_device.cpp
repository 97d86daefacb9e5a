#include "platform/audio_device.h"

#include <atomic>

#include "platform/audio_backends.h"

namespace plat {
namespace {

std::atomic<AudioBackend> g_backend{AudioBackend::Automatic};

}  // namespace

void SetAudioBackendForTesting(AudioBackend backend) { g_backend = backend; }

std::unique_ptr<AudioCapture> CreateAudioCapture() {
  switch (g_backend.load()) {
    case AudioBackend::Fake: return MakeFakeCapture();
    case AudioBackend::Null: return MakeNullCapture();
    case AudioBackend::Automatic: break;
  }
  return PortAudioHasDefaultDevice(true) ? MakePortAudioCapture() : MakeNullCapture();
}

std::unique_ptr<AudioPlayback> CreateAudioPlayback() {
  switch (g_backend.load()) {
    case AudioBackend::Fake: return MakeFakePlayback();
    case AudioBackend::Null: return MakeNullPlayback();
    case AudioBackend::Automatic: break;
  }
  return PortAudioHasDefaultDevice(false) ? MakePortAudioPlayback() : MakeNullPlayback();
}

}  // namespace plat
