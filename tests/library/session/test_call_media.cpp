// The media connection against the stand-in's media listener, with the fake
// audio backend: handshake, answer, frames out of captured blocks, frames
// in to the player, and the ends of a connection.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "library/session/audio_call_socket.h"
#include "library/session/g711.h"
#include "platform/audio_device.h"
#include "platform/audio_fake.h"
#include "support/wait_until.h"
#include "tools/standin_media.h"

using namespace std::chrono_literals;
using standin::MediaScript;
using testsupport::WaitUntil;

namespace {

constexpr auto kWait = 3000ms;
const std::string kCallId = "ABCDEFGHIJKLMNOP";

plat::FakeAudioDevice& Fake() { return plat::FakeAudioDevice::Instance(); }

// A capture block whose samples start at `first` and count up by 7.
std::vector<std::int16_t> Block(int first) {
  std::vector<std::int16_t> block(80);
  for (int i = 0; i < 80; ++i) block[i] = static_cast<std::int16_t>(first + 7 * i);
  return block;
}

// What the player gets for a frame of these A-law codes.
std::vector<std::int16_t> Decoded(const std::vector<std::uint8_t>& codes) {
  std::vector<std::int16_t> samples;
  for (std::uint8_t c : codes) samples.push_back(ALawToLinear(c));
  return samples;
}

std::vector<std::uint8_t> Codes(std::size_t count, std::uint8_t first) {
  std::vector<std::uint8_t> codes(count);
  for (std::size_t i = 0; i < count; ++i) codes[i] = static_cast<std::uint8_t>(first + i);
  return codes;
}

}  // namespace

class CallMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetAudioBackendForTesting(plat::AudioBackend::Fake);
    Fake().Reset();
    ASSERT_TRUE(media.Start("127.0.0.1", 0));
  }
  void TearDown() override {
    call.reset();
    media.Stop();
    Fake().Reset();
    plat::SetAudioBackendForTesting(plat::AudioBackend::Automatic);
  }

  // Connects, sets the mode, sends the handshake and starts, as a call does.
  void Open(int mode, const MediaScript& script = MediaScript{}) {
    media.SetScript(script);
    call = std::make_unique<CAudioCallSocket>();
    ASSERT_TRUE(call->Connect("127.0.0.1", media.Port(), 1000));
    call->SetMode(mode);
    ASSERT_GT(call->SendCallHandshake(kCallId, "admin"), 0);
    call->Start();
    ASSERT_TRUE(media.WaitForHandshakes(1, kWait));
  }

  void OpenAnswered(int mode) {
    Open(mode);
    ASSERT_TRUE(WaitUntil([&] { return call->IsAnswered(); }));
  }

  standin::StandinMedia media;
  std::unique_ptr<CAudioCallSocket> call;
};

TEST_F(CallMedia, HandshakeNamesTheCallAndTheUserAndStartsTheDevices) {
  Open(CAudioCallSocket::kModeTalkAndListen);
  const auto texts = media.Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0], "[CallID=ABCDEFGHIJKLMNOP]");
  EXPECT_EQ(texts[1], "[SSRC=admin]");
  EXPECT_EQ(media.Handshakes()[0], std::make_pair(kCallId, std::string("admin")));
  EXPECT_EQ(Fake().CaptureStarts(), 1);
  EXPECT_EQ(Fake().PlaybackInits(), 1);
  EXPECT_EQ(Fake().PlaybackStarts(), 1);
  EXPECT_EQ(media.JunkBytes(), 0u);
}

TEST_F(CallMedia, UnansweredHandshakeIsRepeatedEveryHundredBlocksAndReceivedBytesAreDropped) {
  MediaScript silent;
  silent.answer = MediaScript::Answer::Never;
  Open(CAudioCallSocket::kModeTalkAndListen, silent);
  // Audio before the answer is not played.
  ASSERT_TRUE(media.SendRaw(standin::BuildMediaFrame(8, 0, 0, Codes(80, 1))));
  for (int i = 0; i < 250; ++i) ASSERT_TRUE(Fake().PushCapture(Block(i)));
  ASSERT_TRUE(Fake().WaitCaptureIdle(kWait));
  // Once when opened, then at blocks 0, 100 and 200.
  ASSERT_TRUE(media.WaitForHandshakes(4, kWait));
  EXPECT_EQ(media.Handshakes().size(), 4u);
  EXPECT_TRUE(media.Frames().empty());

  ASSERT_TRUE(media.SendRaw("[Status=OK]"));
  ASSERT_TRUE(WaitUntil([&] { return call->IsAnswered(); }));
  const auto after = Codes(80, 100);
  ASSERT_TRUE(media.SendRaw(standin::BuildMediaFrame(8, 1, 0, after)));
  ASSERT_TRUE(Fake().WaitForPlayed(80, kWait));
  EXPECT_EQ(Fake().Played(), Decoded(after));
}

TEST_F(CallMedia, AnsweredCallSendsOneExactFramePerCapturedBlock) {
  for (int mode : {2, 3}) {
    SCOPED_TRACE(mode);
    TearDown();
    SetUp();
    OpenAnswered(mode);
    const std::vector<std::vector<std::int16_t>> blocks = {Block(-3000), Block(0), Block(12000)};
    for (const auto& block : blocks) ASSERT_TRUE(Fake().PushCapture(block));
    ASSERT_TRUE(media.WaitForFrames(3, kWait));
    const auto frames = media.Frames();
    ASSERT_EQ(frames.size(), 3u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
      const standin::MediaFrame& f = frames[i];
      EXPECT_EQ(f.raw.size(), 96u);
      EXPECT_EQ(static_cast<std::uint8_t>(f.raw[4]), 0x02);
      EXPECT_EQ(static_cast<std::uint8_t>(f.raw[5]), 0x10);
      EXPECT_EQ(f.channel, 0);
      EXPECT_EQ(f.length, 92u);
      EXPECT_EQ(f.version, 2);
      EXPECT_FALSE(f.marker);
      EXPECT_EQ(f.payloadType, 8);
      EXPECT_EQ(f.sequence, i);
      EXPECT_EQ(f.timestamp, frames[0].timestamp + 20 * i);
      EXPECT_EQ(std::string(f.ssrc.begin(), f.ssrc.end()), "ABCD");
      EXPECT_EQ(f.payload, standin::EncodeALawSamples(blocks[i]));
    }
  }
}

TEST_F(CallMedia, ListeningSendsNothingButPlaysWhatComes) {
  MediaScript script;
  script.toneFrames = 10;
  Open(CAudioCallSocket::kModeListen, script);
  // Listening alone does not open the microphone.
  EXPECT_EQ(Fake().CaptureStarts(), 0);
  EXPECT_FALSE(call->IsCapturing());
  ASSERT_TRUE(media.WaitForToneFrames(10, kWait));
  // Bytes that share a read with the answer are dropped with it, so a late
  // reader may miss the first frames; the rest play, in order.
  ASSERT_TRUE(Fake().WaitForPlayed(400, kWait));
  std::this_thread::sleep_for(100ms);
  const auto played = Fake().Played();
  ASSERT_EQ(played.size() % 80, 0u);
  const std::size_t offset = 800 - played.size();
  const auto tone = standin::ToneSamples(offset, played.size());
  for (std::size_t i = 0; i < played.size(); ++i)
    ASSERT_EQ(played[i], ALawToLinear(standin::EncodeALaw(tone[i]))) << i;
  EXPECT_TRUE(media.Frames().empty());
}

TEST_F(CallMedia, WithoutCaptureATimerRepeatsTheHandshake) {
  MediaScript silent;
  silent.answer = MediaScript::Answer::Never;
  Open(CAudioCallSocket::kModeListen, silent);
  // Once when opened, at the first 10 ms tick and a second later.
  ASSERT_TRUE(media.WaitForHandshakes(3, 5000ms));
}

TEST_F(CallMedia, AnAnswerSplitAcrossReadsIsStillSeen) {
  MediaScript split;
  split.answer = MediaScript::Answer::Split;
  split.splitAt = 4;  // "[Sta" + "tus=OK]"
  split.delay = 40ms;
  Open(CAudioCallSocket::kModeTalkAndListen, split);
  ASSERT_TRUE(WaitUntil([&] { return call->IsAnswered(); }));
}

TEST_F(CallMedia, FramesArePlayedWhateverTheReadsLookLike) {
  OpenAnswered(CAudioCallSocket::kModeListen);
  const auto first = Codes(80, 0), second = Codes(80, 80), third = Codes(80, 160);
  // Two frames in one write, a frame in two writes (50 + 46 bytes), a frame
  // of payload type 18 that makes no sound, and one of an unknown type.
  ASSERT_TRUE(media.SendRaw(standin::BuildMediaFrame(8, 0, 0, first) + standin::BuildMediaFrame(8, 1, 0, second)));
  const std::string cut = standin::BuildMediaFrame(8, 2, 0, third);
  ASSERT_TRUE(media.SendRaw(cut.substr(0, 50), 20ms));
  ASSERT_TRUE(media.SendRaw(cut.substr(50), 40ms));
  ASSERT_TRUE(media.SendRaw(standin::BuildMediaFrame(18, 3, 0, Codes(40, 1)) +
                            standin::BuildMediaFrame(0, 4, 0, Codes(40, 1))));
  const auto last = Codes(80, 7);
  ASSERT_TRUE(media.SendRaw(standin::BuildMediaFrame(8, 5, 0, last)));
  ASSERT_TRUE(Fake().WaitForPlayed(320, kWait));
  std::vector<std::int16_t> expected;
  for (const auto* codes : {&first, &second, &third, &last}) {
    const auto d = Decoded(*codes);
    expected.insert(expected.end(), d.begin(), d.end());
  }
  EXPECT_EQ(Fake().Played(), expected);
}

TEST_F(CallMedia, LyingLengthsAreReadWithinTheBuffer) {
  OpenAnswered(CAudioCallSocket::kModeListen);
  // A header claiming 92 bytes with 20 behind it swallows the next 72 bytes
  // (zeros); a length of 93 is no header; then a good frame plays.
  std::string lying = standin::BuildMediaFrame(8, 0, 0, Codes(20, 1), 0, 92);
  lying += std::string(72, '\0');
  lying += standin::BuildMediaFrame(8, 1, 0, Codes(80, 1), 0, 93);
  const auto good = Codes(80, 33);
  ASSERT_TRUE(media.SendRaw(lying));
  ASSERT_TRUE(media.SendRaw(standin::BuildMediaFrame(8, 2, 0, good), 20ms));
  ASSERT_TRUE(Fake().WaitForPlayed(160, kWait));
  const auto played = Fake().Played();
  ASSERT_EQ(played.size(), 160u);
  EXPECT_EQ(std::vector<std::int16_t>(played.begin() + 80, played.end()), Decoded(good));
}

TEST_F(CallMedia, StopEndsAudioOnceAndKeepsTheConnection) {
  OpenAnswered(CAudioCallSocket::kModeTalkAndListen);
  EXPECT_EQ(call->Stop(), 1);
  EXPECT_EQ(call->Stop(), 0);
  EXPECT_EQ(Fake().CaptureStops(), 1);
  EXPECT_FALSE(Fake().CaptureRunning());
  EXPECT_FALSE(Fake().PlaybackRunning());
  EXPECT_FALSE(Fake().PushCapture(Block(0)));  // nothing captures any more
  EXPECT_EQ(media.ConnectionsOpen(), 1u);
  ASSERT_GT(call->SendBye(), 0);
  ASSERT_TRUE(media.WaitForTexts(3, kWait));
  EXPECT_EQ(media.Texts().back(), "[Status=Bye]");
  EXPECT_TRUE(media.Frames().empty());
}

TEST_F(CallMedia, ThePeerClosingEndsTheCallsAudio) {
  OpenAnswered(CAudioCallSocket::kModeTalkAndListen);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(Fake().PushCapture(Block(i)));
  ASSERT_TRUE(media.CloseConnection());
  ASSERT_TRUE(WaitUntil([&] { return !call->IsStarted() && !Fake().CaptureRunning(); }));
  EXPECT_FALSE(Fake().PlaybackRunning());
  // Sending to the closed connection soon fails, quietly (no SIGPIPE).
  EXPECT_TRUE(WaitUntil([&] { return call->SendBye() <= 0; }));
  EXPECT_EQ(call->Stop(), 0);
}

TEST_F(CallMedia, DestroyingWhileCaptureDeliversStopsDeliveryFirst) {
  OpenAnswered(CAudioCallSocket::kModeTalkAndListen);
  std::atomic<bool> pushing{true};
  std::thread pusher([&] {
    for (int i = 0; i < 2000 && pushing; ++i) {
      Fake().PushCapture(Block(i));
      std::this_thread::sleep_for(1ms);
    }
  });
  ASSERT_TRUE(media.WaitForFrames(5, kWait));
  call.reset();
  const std::size_t delivered = Fake().BlocksDelivered();
  EXPECT_FALSE(Fake().CaptureRunning());
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(Fake().BlocksDelivered(), delivered);
  pushing = false;
  pusher.join();
  EXPECT_TRUE(media.WaitForOpenConnections(0, kWait));
}
