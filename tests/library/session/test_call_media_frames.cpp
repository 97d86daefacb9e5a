// The frames of the media connection: their layout, and the parser that
// takes them from a byte stream however it is cut.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "library/session/audio_call_socket.h"
#include "library/session/g711.h"
#include "library/session/media_frame.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Seen {
  int payloadType;
  Bytes payload;
};

Bytes Frame(int payloadType, std::size_t payloadBytes, std::uint8_t fill, std::uint16_t sequence = 0) {
  MediaFrameHeader header;
  header.payloadType = payloadType;
  header.sequence = sequence;
  Bytes payload(payloadBytes, fill);
  Bytes out(kFrameHeaderBytes + payloadBytes);
  out.resize(WriteMediaFrame(header, payload.data(), payload.size(), out.data()));
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Feeds `stream` to the parser in the given cuts, keeping what it asks to
// keep, as the media connection does.
std::vector<Seen> FeedInPieces(const Bytes& stream, const std::vector<std::size_t>& cuts) {
  std::vector<Seen> seen;
  Bytes buffer;
  std::size_t from = 0;
  std::vector<std::size_t> ends = cuts;
  ends.push_back(stream.size());
  for (std::size_t end : ends) {
    buffer.insert(buffer.end(), stream.begin() + static_cast<long>(from), stream.begin() + static_cast<long>(end));
    from = end;
    const std::size_t keep = ParseMediaFrames(buffer.data(), buffer.size(), [&](int type, const std::uint8_t* p,
                                                                                 std::size_t n) {
      seen.push_back({type, Bytes(p, p + n)});
    });
    buffer.erase(buffer.begin(), buffer.end() - static_cast<long>(keep));
  }
  return seen;
}

}  // namespace

TEST(MediaFrames, HeaderLayoutIsLittleEndianWithABigEndianLength) {
  MediaFrameHeader header;
  header.payloadType = kPayloadTypePcma;
  header.sequence = 0x0102;
  header.timestamp = 0x11223344;
  header.ssrc = {'A', 'B', 'C', 'D'};
  const Bytes silence(80, LinearToALaw(0));
  Bytes out(96);
  ASSERT_EQ(WriteMediaFrame(header, silence.data(), silence.size(), out.data()), 96u);
  const Bytes expected = {0x24, 0x00, 0x00, 0x5C, 0x02, 0x10, 0x02, 0x01,
                          0x44, 0x33, 0x22, 0x11, 0x41, 0x42, 0x43, 0x44};
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 16), expected);
  EXPECT_EQ(Bytes(out.begin() + 16, out.end()), Bytes(80, 0xD5));
}

TEST(MediaFrames, BackToBackFramesAreAllFoundInOrder) {
  const Bytes stream = Join({Frame(8, 80, 0x11), Frame(18, 40, 0x22), Frame(8, 80, 0x33), Frame(0, 10, 0x44)});
  const auto seen = FeedInPieces(stream, {});
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].payloadType, 8);
  EXPECT_EQ(seen[0].payload, Bytes(80, 0x11));
  EXPECT_EQ(seen[1].payloadType, 18);
  EXPECT_EQ(seen[2].payload, Bytes(80, 0x33));
  EXPECT_EQ(seen[3].payloadType, 0);
}

TEST(MediaFrames, AFrameCutAnywhereIsCompletedOnce) {
  const Bytes stream = Join({Frame(8, 80, 0x11), Frame(8, 80, 0x22)});
  for (std::size_t cut = 1; cut < stream.size(); ++cut) {
    const auto seen = FeedInPieces(stream, {cut});
    ASSERT_EQ(seen.size(), 2u) << "cut at " << cut;
    EXPECT_EQ(seen[0].payload, Bytes(80, 0x11)) << "cut at " << cut;
    EXPECT_EQ(seen[1].payload, Bytes(80, 0x22)) << "cut at " << cut;
  }
  // And byte by byte.
  std::vector<std::size_t> everyByte;
  for (std::size_t i = 1; i < stream.size(); ++i) everyByte.push_back(i);
  EXPECT_EQ(FeedInPieces(stream, everyByte).size(), 2u);
}

TEST(MediaFrames, HeadersThatAreNotFramesAreSkippedOrEndTheParse) {
  Bytes tooLong = Frame(8, 80, 0x55);
  tooLong[3] = 93;  // length 93: not a frame header
  Bytes badChannel = Frame(8, 4, 0x66);
  badChannel[1] = 2;
  const Bytes junk = {'x', '$', 0x07, 'y'};
  {
    const auto seen = FeedInPieces(Join({junk, tooLong, badChannel, Frame(8, 8, 0x77)}), {});
    // The bytes behind a skipped header are searched too (none of them is '$').
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].payload, Bytes(8, 0x77));
  }
  {
    Bytes empty = Frame(8, 0, 0);  // length 12: no payload, the rest of the read is dropped
    const auto seen = FeedInPieces(Join({empty, Frame(8, 8, 0x77)}), {});
    EXPECT_TRUE(seen.empty());
  }
}

TEST(MediaFrames, ALyingLengthNeverReadsPastTheData) {
  // A header that claims 92 bytes with only 20 behind it: kept, not decoded.
  Bytes lying = Frame(8, 80, 0x12);
  lying.resize(24);
  std::vector<Seen> seen;
  const std::size_t keep = ParseMediaFrames(lying.data(), lying.size(), [&](int t, const std::uint8_t* p, std::size_t n) {
    seen.push_back({t, Bytes(p, p + n)});
  });
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(keep, lying.size());
  // A header cut after '$' or after the channel waits for the rest.
  const Bytes mark = {0x24};
  EXPECT_EQ(ParseMediaFrames(mark.data(), mark.size(), nullptr), 1u);
  const Bytes markAndChannel = {'z', 0x24, 0x01, 0x00};
  EXPECT_EQ(ParseMediaFrames(markAndChannel.data(), markAndChannel.size(), nullptr), 3u);
}

TEST(MediaFrames, ALawBlocksOnlyForPayloadTypeEight) {
  const std::int16_t samples[4] = {0, -1, 1000, -32768};
  std::uint8_t codes[4] = {};
  EXPECT_EQ(CAudioCallSocket::EncodeALawBlock(samples, sizeof samples, 8, codes, 4), 4u);
  EXPECT_EQ(codes[0], 0xD5);
  EXPECT_EQ(codes[3], 0x2A);
  EXPECT_EQ(CAudioCallSocket::EncodeALawBlock(samples, sizeof samples, 0, codes, 4), 0u);
  EXPECT_EQ(CAudioCallSocket::EncodeALawBlock(samples, sizeof samples, 8, codes, 2), 2u);  // bounded by the buffer

  std::vector<std::int16_t> decoded(CAudioCallSocket::kMaxDecodedSamples + 10);
  EXPECT_EQ(CAudioCallSocket::DecodeALawBlock(codes, 4, 8, decoded.data()), 8u);
  EXPECT_EQ(decoded[0], 8);
  EXPECT_EQ(decoded[3], -32256);
  EXPECT_EQ(CAudioCallSocket::DecodeALawBlock(codes, 4, 18, decoded.data()), 0u);
  const std::vector<std::uint8_t> many(CAudioCallSocket::kMaxDecodedSamples + 10, 0xD5);
  EXPECT_EQ(CAudioCallSocket::DecodeALawBlock(many.data(), many.size(), 8, decoded.data()),
            CAudioCallSocket::kMaxDecodedSamples * 2);
}
