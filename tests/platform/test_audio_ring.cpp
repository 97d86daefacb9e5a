// The ring between an audio device's callback and the code around it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio_ring.h"

namespace {

std::string Take(plat::AudioRing& ring, std::size_t bytes, std::size_t* taken = nullptr) {
  std::string out(bytes, '?');
  const std::size_t n = ring.ReadOrSilence(out.data(), bytes);
  if (taken != nullptr) *taken = n;
  return out;
}

}  // namespace

TEST(AudioRing, KeepsOrderAcrossTheWrap) {
  plat::AudioRing ring(8);
  ring.Write("abcdef", 6);
  EXPECT_EQ(Take(ring, 4), "abcd");
  ring.Write("ghijkl", 6);  // wraps at the end of the buffer
  EXPECT_EQ(ring.Size(), 8u);
  EXPECT_EQ(Take(ring, 8), "efghijkl");
}

TEST(AudioRing, UnderrunPlaysSilenceNeverOldAudioAgain) {
  plat::AudioRing ring(16);
  ring.Write("wxyz", 4);
  std::size_t taken = 0;
  EXPECT_EQ(Take(ring, 8, &taken), std::string("wxyz") + std::string(4, '\0'));
  EXPECT_EQ(taken, 4u);
  EXPECT_EQ(Take(ring, 8, &taken), std::string(8, '\0'));
  EXPECT_EQ(taken, 0u);
  // New audio after the underrun plays at once.
  ring.Write("12", 2);
  EXPECT_EQ(Take(ring, 2), "12");
}

TEST(AudioRing, AWriterThatRunsAheadOverwritesTheOldestAudio) {
  struct Case {
    std::vector<std::string> writes;
    std::string left;
  };
  const Case cases[] = {
      {{"abcdef", "ghij"}, "cdefghij"},
      {{"ab", "cdefghijkl"}, "efghijkl"},  // a write beyond the capacity keeps its newest part
      {{"abcdefgh", "ij"}, "cdefghij"},
  };
  for (const Case& c : cases) {
    plat::AudioRing ring(8);
    for (const auto& w : c.writes) EXPECT_EQ(ring.Write(w.data(), w.size()), w.size());
    EXPECT_EQ(Take(ring, ring.Size()), c.left);
  }
}

TEST(AudioRing, ReadExactlyTakesWholeBlocksOnly) {
  plat::AudioRing ring(16);
  ring.Write("abc", 3);
  char block[4] = {};
  EXPECT_FALSE(ring.ReadExactly(block, 4));
  EXPECT_EQ(ring.Size(), 3u);
  ring.Write("d", 1);
  EXPECT_TRUE(ring.ReadExactly(block, 4));
  EXPECT_EQ(std::string(block, 4), "abcd");
  ring.Write("zz", 2);
  ring.Clear();
  EXPECT_EQ(ring.Size(), 0u);
}
