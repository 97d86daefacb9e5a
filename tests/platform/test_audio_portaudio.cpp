// The PortAudio backend without a sound card: ALSA's "file" plugin stands in
// for the default device, capturing from a file of known samples and
// recording playback to another. It runs as fast as it is read, not in
// real time, which the checks below allow for.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "support/wait_until.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A ramp that counts up to 31999 and starts again (a whole number of
// blocks), long enough that a capture never reads to its end.
constexpr int kRampSamples = 1 << 20;
constexpr int kRampPeriod = 32000;

// Set up before any test touches PortAudio: ALSA reads its configuration once.
struct AlsaFileDevice {
  fs::path dir, input, output, config;

  AlsaFileDevice() {
    char pattern[] = "/tmp/sentrell-alsa-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    dir = pattern;
    input = dir / "in.raw";
    output = dir / "out.raw";
    config = dir / "asound.conf";
    std::ofstream in(input, std::ios::binary);
    for (int i = 0; i < kRampSamples; ++i) {
      const auto s = static_cast<std::int16_t>(i % kRampPeriod);
      in.write(reinterpret_cast<const char*>(&s), sizeof s);
    }
    std::ofstream(config) << "pcm.!default {\n  type file\n  slave.pcm \"blackhole\"\n  file \"" << output.string()
                          << "\"\n  infile \"" << input.string() << "\"\n  format \"raw\"\n}\n"
                          << "pcm.blackhole {\n  type null\n}\n";
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
  }
  ~AlsaFileDevice() {
    std::error_code ignored;
    if (!dir.empty()) fs::remove_all(dir, ignored);
  }
};

AlsaFileDevice g_device;

std::vector<std::int16_t> ReadSamples(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::int16_t> samples;
  std::int16_t s = 0;
  while (in.read(reinterpret_cast<char*>(&s), sizeof s)) samples.push_back(s);
  return samples;
}

}  // namespace

TEST(PortAudioBackend, CaptureDeliversWholeBlocksOfTheDeviceInOrder) {
  ASSERT_FALSE(g_device.dir.empty());
  plat::SetAudioBackendForTesting(plat::AudioBackend::Automatic);
  auto capture = plat::CreateAudioCapture();
  std::mutex m;
  std::vector<std::vector<std::int16_t>> blocks;
  std::atomic<bool> stopped{false};
  std::atomic<int> late{0};
  ASSERT_TRUE(capture->Start([&](const std::int16_t* samples, std::size_t bytes) {
    if (stopped) ++late;
    std::lock_guard lock(m);
    if (blocks.size() < 50) blocks.emplace_back(samples, samples + bytes / 2);
  }));
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    std::lock_guard lock(m);
    return blocks.size() >= 50;
  }));
  capture->Stop();
  stopped = true;
  EXPECT_FALSE(capture->IsRunning());
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(late, 0);
  std::lock_guard lock(m);
  // Blocks may be dropped when the device runs ahead, never cut or mixed.
  for (const auto& block : blocks) {
    ASSERT_EQ(block.size(), 80u);
    ASSERT_EQ(block[0] % 80, 0);
    for (std::size_t i = 1; i < block.size(); ++i) ASSERT_EQ(block[i], block[0] + static_cast<int>(i));
  }
}

TEST(PortAudioBackend, PlaybackPlaysWhatWasWrittenThenSilence) {
  ASSERT_FALSE(g_device.dir.empty());
  plat::SetAudioBackendForTesting(plat::AudioBackend::Automatic);
  auto player = plat::CreateAudioPlayback();
  ASSERT_TRUE(player->Init());
  std::vector<std::int16_t> written(1000);
  for (std::size_t i = 0; i < written.size(); ++i) written[i] = static_cast<std::int16_t>(i + 1);
  EXPECT_EQ(player->Write(written.data(), written.size() * 2), written.size() * 2);
  ASSERT_TRUE(player->Start());
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    std::error_code e;
    return fs::exists(g_device.output, e) && fs::file_size(g_device.output, e) >= 64 * 1024;
  }));
  player->Stop();
  const auto played = ReadSamples(g_device.output);
  std::size_t first = 0;
  while (first < played.size() && played[first] == 0) ++first;  // the device's own lead-in
  ASSERT_GE(played.size(), first + written.size());
  EXPECT_EQ(std::vector<std::int16_t>(played.begin() + static_cast<long>(first),
                                      played.begin() + static_cast<long>(first + written.size())),
            written);
  for (std::size_t i = first + written.size(); i < played.size(); ++i) ASSERT_EQ(played[i], 0) << i;
}
