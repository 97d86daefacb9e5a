// The backends the platform layer chooses from: the fake one tests drive,
// and the null one of a machine without a sound card.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "platform/audio_fake.h"

using namespace std::chrono_literals;

namespace {

plat::FakeAudioDevice& Fake() { return plat::FakeAudioDevice::Instance(); }

std::vector<std::int16_t> Block(std::int16_t first) {
  std::vector<std::int16_t> block(plat::kCaptureBlockBytes / 2);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::int16_t>(first + i);
  return block;
}

class AudioBackends : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetAudioBackendForTesting(plat::AudioBackend::Fake);
    Fake().Reset();
  }
  void TearDown() override {
    Fake().Reset();
    plat::SetAudioBackendForTesting(plat::AudioBackend::Automatic);
  }
};

}  // namespace

TEST_F(AudioBackends, FakeCaptureDeliversPushedBlocksInOrderOnItsOwnThread) {
  auto capture = plat::CreateAudioCapture();
  EXPECT_FALSE(Fake().PushCapture(Block(0)));  // nothing runs yet
  std::mutex m;
  std::vector<std::vector<std::int16_t>> got;
  std::atomic<bool> otherThread{true};
  const auto self = std::this_thread::get_id();
  ASSERT_TRUE(capture->Start([&](const std::int16_t* samples, std::size_t bytes) {
    if (std::this_thread::get_id() == self) otherThread = false;
    std::lock_guard lock(m);
    got.emplace_back(samples, samples + bytes / 2);
  }));
  EXPECT_TRUE(capture->IsRunning());
  for (std::int16_t i = 0; i < 5; ++i) ASSERT_TRUE(Fake().PushCapture(Block(static_cast<std::int16_t>(i * 100))));
  EXPECT_FALSE(Fake().PushCapture(std::vector<std::int16_t>(79)));  // not a whole block
  ASSERT_TRUE(Fake().WaitCaptureIdle(3000ms));
  capture->Stop();
  capture->Stop();
  EXPECT_EQ(Fake().CaptureStarts(), 1);
  EXPECT_EQ(Fake().CaptureStops(), 1);
  EXPECT_FALSE(Fake().PushCapture(Block(0)));
  std::lock_guard lock(m);
  ASSERT_EQ(got.size(), 5u);
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], Block(static_cast<std::int16_t>(i * 100)));
  EXPECT_TRUE(otherThread);
}

TEST_F(AudioBackends, NoDeliveryAfterStopReturns) {
  auto capture = plat::CreateAudioCapture();
  std::atomic<bool> stopped{false};
  std::atomic<int> late{0};
  ASSERT_TRUE(capture->Start([&](const std::int16_t*, std::size_t) {
    if (stopped) ++late;
    std::this_thread::sleep_for(1ms);
  }));
  for (int i = 0; i < 50; ++i) Fake().PushCapture(Block(0));
  capture->Stop();
  stopped = true;
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(late, 0);
}

TEST_F(AudioBackends, FakePlayerRecordsWhatItIsGivenOnceInitialised) {
  auto player = plat::CreateAudioPlayback();
  const std::int16_t samples[3] = {1, -2, 3};
  EXPECT_EQ(player->Write(samples, sizeof samples), sizeof samples);  // before Init: ignored
  EXPECT_FALSE(player->Start());
  ASSERT_TRUE(player->Init());
  EXPECT_EQ(player->Write(samples, sizeof samples), sizeof samples);
  EXPECT_TRUE(player->Start());
  EXPECT_TRUE(Fake().PlaybackRunning());
  player->Stop();
  EXPECT_FALSE(Fake().PlaybackRunning());
  EXPECT_EQ(Fake().Played(), std::vector<std::int16_t>({1, -2, 3}));
  EXPECT_EQ(Fake().PlaybackInits(), 1);
  EXPECT_EQ(Fake().PlaybackStarts(), 1);
  EXPECT_EQ(Fake().PlaybackStops(), 1);
}

TEST_F(AudioBackends, InjectedFailures) {
  Fake().FailCaptureStart(true);
  Fake().FailPlaybackInit(true);
  auto capture = plat::CreateAudioCapture();
  EXPECT_FALSE(capture->Start([](const std::int16_t*, std::size_t) {}));
  EXPECT_FALSE(capture->IsRunning());
  auto player = plat::CreateAudioPlayback();
  EXPECT_FALSE(player->Init());
  Fake().FailPlaybackInit(false);
  Fake().FailPlaybackStart(true);
  ASSERT_TRUE(player->Init());
  EXPECT_FALSE(player->Start());
  EXPECT_EQ(Fake().CaptureStarts(), 0);
}

TEST_F(AudioBackends, NullBackendOpensNothing) {
  plat::SetAudioBackendForTesting(plat::AudioBackend::Null);
  auto capture = plat::CreateAudioCapture();
  EXPECT_FALSE(capture->Start([](const std::int16_t*, std::size_t) {}));
  EXPECT_FALSE(capture->IsRunning());
  capture->Stop();
  auto player = plat::CreateAudioPlayback();
  EXPECT_FALSE(player->Init());
  const std::int16_t samples[2] = {1, 2};
  EXPECT_EQ(player->Write(samples, sizeof samples), sizeof samples);
  EXPECT_FALSE(player->Start());
  player->Stop();
  EXPECT_EQ(Fake().PlaybackInits() + Fake().CaptureStarts(), 0);  // not the fake either
}
