#pragma once
// The backends behind the audio factories (platform layer only).
#include <memory>

#include "platform/audio_device.h"

namespace plat {

std::unique_ptr<AudioCapture> MakeNullCapture();
std::unique_ptr<AudioPlayback> MakeNullPlayback();

std::unique_ptr<AudioCapture> MakeFakeCapture();
std::unique_ptr<AudioPlayback> MakeFakePlayback();

// True when PortAudio starts and names a default device of that direction.
bool PortAudioHasDefaultDevice(bool input);
std::unique_ptr<AudioCapture> MakePortAudioCapture();
std::unique_ptr<AudioPlayback> MakePortAudioPlayback();

}  // namespace plat
