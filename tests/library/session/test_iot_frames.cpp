#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/session/iot_frame.h"
#include "library/session/iot_reply.h"
#include "library/session/pending_commands.h"
#include "support/deflate.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

using testsupport::Deflate;

}  // namespace

TEST(IotFrame, OneBytePayloadGivesTheSixteenByteFrame) {
  const std::uint8_t payload[] = {0x01};
  const auto frame = BuildIotFrame(81, 16, payload, 1, 0x0102, 0x0005);
  ASSERT_TRUE(frame);
  // inner: 0D sum 0A 09 check(2) 02 01 05 00 51 10 01; sum = 0x0D+0x0A+0x09+0xAA+0xAA+2+1+5+0x51+0x10+1
  const unsigned innerSum = (0x0D + 0x0A + 0x09 + 0xAA + 0xAA + 0x02 + 0x01 + 0x05 + 0x51 + 0x10 + 0x01) & 0xFF;
  const unsigned check = 0xAAAA + innerSum;
  Bytes expected = {0xCC, 0xFF, 0x0D, static_cast<std::uint8_t>(innerSum), 0x0A, 0x09,
                    static_cast<std::uint8_t>(check & 0xFF), static_cast<std::uint8_t>(check >> 8),
                    0x02, 0x01, 0x05, 0x00, 0x51, 0x10, 0x01};
  unsigned outer = 0;
  for (auto b : expected) outer += b;
  expected.push_back(static_cast<std::uint8_t>(outer));
  EXPECT_EQ(*frame, expected);
  EXPECT_EQ(frame->size(), 16u);
}

TEST(IotFrame, NetZeroTravelsAsFfffAndLongPayloadsAreRefused) {
  const auto frame = BuildIotFrame(1, 2, nullptr, 0, 0, 7);
  ASSERT_TRUE(frame);
  EXPECT_EQ((*frame)[8], 0xFF);
  EXPECT_EQ((*frame)[9], 0xFF);
  const Bytes big(244, 1), max(243, 1);
  EXPECT_FALSE(BuildIotFrame(1, 2, big.data(), big.size(), 1, 1));
  const auto longest = BuildIotFrame(1, 2, max.data(), max.size(), 1, 1);
  ASSERT_TRUE(longest);
  EXPECT_EQ((*longest)[2], 255);
}

TEST(IotFrame, CheckWordIsTheBasePlusTheInnerSum) {
  std::uint8_t packet[12] = {12, 0, 0x0A, 0x09, 0, 0, 0, 0, 0, 0, 0, 0};
  SetFrameChecksum(packet, 0xAAAA);
  const unsigned sum = (12 + 0x0A + 0x09 + 0xAA + 0xAA) & 0xFF;
  EXPECT_EQ(packet[1], sum);
  EXPECT_EQ(packet[4] | (packet[5] << 8), 0xAAAA + sum);
}

TEST(IotFrame, RecordedFunctionBytes) {
  for (int fn : {16, 17, 31, 48, 50, 63}) EXPECT_TRUE(IsRecordedFunction(static_cast<std::uint8_t>(fn))) << fn;
  for (int fn : {0, 7, 15, 32, 47, 64, 240}) EXPECT_FALSE(IsRecordedFunction(static_cast<std::uint8_t>(fn))) << fn;
}

TEST(IotReplyUnpack, ChecksTheOuterSumOnly) {
  const std::uint8_t payload[] = {0x00, 0x01};
  const auto frame = BuildIotFrame(81, 0x41, payload, 2, 3, 4);
  ASSERT_TRUE(frame);
  const std::string good = AsString(*frame);
  auto reply = UnpackIotReply(77, good, false);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->nvsid, 77u);
  EXPECT_EQ(reply->netId, 3);
  EXPECT_EQ(reply->nodeAddress, 4);
  EXPECT_EQ(reply->commandCode, 81);
  EXPECT_EQ(reply->functionByte, 0x41);
  EXPECT_EQ(reply->payload, (Bytes{0x00, 0x01}));
  ASSERT_TRUE(UnpackIotReply(77, Deflate(good), true));

  std::string tampered = good;
  tampered[12] = 0x40;  // function byte changed, outer sum left
  EXPECT_FALSE(UnpackIotReply(77, tampered, false));
  std::string innerSumChanged = good;
  innerSumChanged[3] = static_cast<char>(innerSumChanged[3] + 1);
  innerSumChanged.back() = static_cast<char>(innerSumChanged.back() + 1);  // outer sum fixed
  EXPECT_TRUE(UnpackIotReply(77, innerSumChanged, false));
  EXPECT_FALSE(UnpackIotReply(77, good.substr(0, 10), false));  // short: the sum reads zeros
  EXPECT_FALSE(UnpackIotReply(77, "not zlib", true));
  const auto noFrame = UnpackIotReply(77, "hello", false);
  ASSERT_TRUE(noFrame);
  EXPECT_EQ(noFrame->functionByte, 0);
}

TEST(IotReplyUnpack, PayloadReaderReadsZeroPastTheEnd) {
  const Bytes bytes = {0x34, 0x12, 0xFF};
  const PayloadReader reader(bytes);
  EXPECT_EQ(reader.U16(0), 0x1234);
  EXPECT_EQ(reader.U16(2), 0x00FF);
  EXPECT_EQ(reader.U32(0), 0x00FF1234u);
  EXPECT_EQ(reader.U8(1000), 0);
  EXPECT_EQ(reader.I16(2), 0x00FF);
  EXPECT_EQ(reader.Bytes(1, 10), (Bytes{0x12, 0xFF}));
  EXPECT_TRUE(reader.Bytes(5, 1).empty());
}

TEST(PendingCommands, FoundRemovedAndExpiredAfterEightSeconds) {
  CPendingCmdTable table;
  table.Add(10, 1000001, 0, 5, 1000);
  table.Add(11, 1000001, 2, 6, 1001);
  ASSERT_TRUE(table.Find(10));
  EXPECT_EQ(table.Find(10)->netId, 0);
  EXPECT_EQ(table.Find(11)->nodeAddress, 6);
  EXPECT_FALSE(table.Find(12));
  const auto always = [] { return true; };
  EXPECT_TRUE(table.Expire(1008, always));
  EXPECT_EQ(table.Size(), 2u);  // 8 s old stays
  EXPECT_TRUE(table.Expire(1009, always));
  EXPECT_FALSE(table.Find(10));
  EXPECT_TRUE(table.Find(11));
  EXPECT_FALSE(table.Expire(2000, [] { return false; }));  // the connection went away meanwhile
  EXPECT_EQ(table.Size(), 1u);
  table.Remove(11);
  table.Remove(11);
  EXPECT_EQ(table.Size(), 0u);
}
