#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "decoder_test_support.h"
#include "library/session/codecs.h"
#include "library/session/reply_routing.h"
#include "sentrell.h"

namespace {

using decodertest::Message;
using decodertest::Str;
using decodertest::Reply;

using Bytes = std::vector<std::uint8_t>;

struct Case {
  std::uint8_t fn;
  Bytes payload;
  std::string expected;  // "" for no message
};

std::string Num(const char* name, long long value) {
  return std::string("\"") + name +
         "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":" + std::to_string(value) +
         "}";
}

std::string Operation(const char* devtype, const char* operation, const char* status) {
  return Message(devtype, "OperationResult", Str("operation", operation) + "," + Str("status", status));
}

std::string Decode(const IotReply& reply) {
  const RoutedReply routed = RouteIotReply(reply);
  EXPECT_TRUE(routed.deviceData);
  EXPECT_EQ(routed.notifyId, routed.text.empty() ? 0u : static_cast<unsigned>(NOTIFY_NODEMSG));
  return routed.text;
}

void ExpectCases(std::uint8_t code, const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(Decode(Reply(code, c.fn, c.payload)), c.expected) << std::hex << int(c.fn);
}

const Bytes kSuccess = {80, 0x55, 0, 0}, kFailure = {80, 0xAA, 0, 0};

}  // namespace

TEST(DoorLockReplies, CardLockWordsAndResults) {
  const char* D = "DLOCK";
  const std::vector<Case> cases = {
      {0x10, {}, Message(D, "alarm", Str("info", "DoorBroken"))},
      {0x11, {}, Message(D, "alarm", Str("info", "ReaderBroken"))},
      {0x12, {}, Message(D, "alarm", Str("info", "Snapshot"))},
      {0x13, {}, Message(D, "alarm", Str("info", "Force"))},
      {0x14, {}, ""},
      {0x20, {}, Message(D, "fault", Str("info", "ReaderKey"))},
      {0x21, {}, Message(D, "fault", Str("info", "ReaderUART"))},
      {0x22, {}, Message(D, "fault", Str("info", "CCMemory"))},
      {0x23, {}, Message(D, "fault", Str("info", "CCRTC"))},
      {0x24, {}, Message(D, "fault", Str("info", "OpenFail"))},
      {0x25, {}, Message(D, "fault", Str("info", "CloseFail"))},
      {0x26, {}, ""},
      {0x30, kSuccess, Operation(D, "SetRTC", "success")},
      {0x31, kFailure, Operation(D, "SetInterval", "failure")},
      {0x32, {80, 0x00}, Operation(D, "SetMonthWorkday", "")},
      {0x33, kSuccess, Operation(D, "SetYearWorkday", "success")},
      {0x34, kSuccess, Operation(D, "AddSuperCard", "success")},
      {0x35, kSuccess, Operation(D, "RemoveSuperCard", "success")},
      {0x36, kSuccess, Operation(D, "OpenDoor", "success")},
      {0x37, kSuccess, Operation(D, "StartSnapshot", "success")},
      {0x38, kSuccess, Operation(D, "", "success")},
      {0x39, kFailure, Operation(D, "", "failure")},
      {0x3A, kSuccess, Operation(D, "ClearGuestCard", "success")},
      {0x3B, kSuccess, Operation(D, "CardOperation", "success")},
      {0x3C, kSuccess, Operation(D, "GuestCardSort", "success")},
      {0x3D, kSuccess, Operation(D, "TrnasCard", "success")},
      {0x3E, kSuccess, Operation(D, "", "success")},
      {0x3F, {}, Operation(D, "DoorStatus", "")},  // no result byte
      {0x40, {}, Message(D, "status", Str("info", "Ring"))},
      {0x41, {}, Message(D, "status", Str("info", "IndoorOpen"))},
      {0x42, {}, Message(D, "status", Str("info", "DoorOpen"))},
      {0x43, {}, Message(D, "status", Str("info", "DoorClose"))},
      {0x44, {}, ""},
      {0x59, {}, ""},
      {0x2F, {}, ""},
      {0x60, {}, ""},
  };
  ExpectCases(80, cases);
}

TEST(DoorLockReplies, CardLockOpeningsCarryCardsAndPasswords) {
  const char* D = "DLOCK";
  const Bytes card = {80, 10, 0, 0, 0x02, 0x01, 0x78, 0x56, 0x34, 0x12};
  ExpectCases(
      80, {
              {0x50, card, Message(D, "supercardopen", Num("cardid", 0x12345678) + "," + Num("cardnum", 258))},
              {0x51, card, Message(D, "supercardrequest", Num("cardid", 0x12345678) + "," + Num("cardnum", 258))},
              {0x52, card, Message(D, "supercardindooropen", Num("cardid", 0x12345678) + "," + Num("cardnum", 258))},
              {0x50,
               {80, 10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
               Message(D, "supercardopen", Num("cardid", 4294967295) + "," + Num("cardnum", 65535))},
              {0x51, {80, 10, 0, 0, 0x02}, Message(D, "supercardrequest", Num("cardid", 0) + "," + Num("cardnum", 2))},
              {0x54, {80, 4, 0, 0, 0x78, 0x56, 0x34, 0x12}, Message(D, "guestcardopen", Num("cardid", 0x12345678))},
              {0x55, {80, 4, 0, 0, 1}, Message(D, "cardopen", Num("cardid", 1))},
              {0x56, {80, 4, 0, 0, 0, 1}, Message(D, "cardindooropen", Num("cardid", 256))},
              {0x57, {}, Message(D, "unknowcardopen", Num("cardid", 0))},
              // The password is bytes 9, 8 and 7 followed by two zeros; byte 6 does not count.
              {0x53,
               {80, 6, 0, 0, 0x07, 0x00, 0xFF, 0x56, 0x34, 0x12},
               Message(D, "passwordopen", Num("id", 7) + "," + Str("password", "12345600"))},
              {0x53,
               {80, 6, 0, 0, 0x07, 0x00, 0x00, 0x56, 0x34, 0x05},
               Message(D, "passwordopen", Num("id", 7) + "," + Str("password", "5345600"))},
              {0x53,
               {80, 6, 0, 0, 0x01, 0x01, 0x99, 0x56, 0x34, 0x00},
               Message(D, "passwordopen", Num("id", 257) + "," + Str("password", "345600"))},
              {0x53,
               {80, 6, 0, 0, 0x01, 0x00, 0x99, 0xAB},
               Message(D, "passwordopen", Num("id", 1) + "," + Str("password", "00AB00"))},
              {0x53, {}, Message(D, "passwordopen", Num("id", 0) + "," + Str("password", "000000"))},
              {0x58,
               {80, 6, 0, 0, 0x09, 0x00, 0x11, 0x22, 0x33, 0x44},
               Message(D, "publicpasswordopen", Num("id", 9) + "," + Str("password", "000000"))},
          });
}

TEST(DoorLockReplies, FingerprintLockWordsResultsAndUsers) {
  const char* F = "DLOCKFINGER";
  const Bytes ok = {96, 0x55, 0, 0};
  const std::vector<Case> cases = {
      {0x10, {}, Message(F, "alarm", Str("info", "DoorBroken"))},
      {0x11, {}, Message(F, "alarm", Str("info", ""))},
      {0x12, {}, Message(F, "alarm", Str("info", "Capture"))},
      {0x13, {}, ""},
      {0x20, {}, ""},
      {0x21, {}, ""},
      {0x22, {}, Message(F, "fault", Str("info", "CCMemory"))},
      {0x23, {}, Message(F, "fault", Str("info", "CCRTC"))},
      {0x24, {}, Message(F, "fault", Str("info", "OpenFail"))},
      {0x25, {}, Message(F, "fault", Str("info", "CloseFail"))},
      {0x26, {}, ""},
      {0x30, ok, Operation(F, "SetRTC", "success")},
      {0x31, ok, Operation(F, "SetInterval", "success")},
      {0x32, ok, Operation(F, "SetMonthWorkday", "success")},
      {0x33, ok, Operation(F, "SetYearWorkday", "success")},
      {0x34, ok, Operation(F, "OpenDoor", "success")},
      {0x35, ok, Operation(F, "StartCapture", "success")},
      {0x36, {96, 0xAA}, Operation(F, "StopCapture", "failure")},
      {0x37, ok, Operation(F, "DoorStatus", "success")},
      {0x38, ok, Operation(F, "RemoveUser", "success")},
      {0x39, {96, 0x56}, Operation(F, "ClearUser", "")},
      {0x3A, ok, Operation(F, "SetFingerprintFeature", "success")},
      {0x3B, ok, Operation(F, "SetMatchLevel", "success")},
      {0x3C, ok, ""},
      {0x40, {}, Message(F, "status", Str("info", "Ring"))},
      {0x43, {}, Message(F, "status", Str("info", "DoorClose"))},
      {0x44, {}, ""},
      {0x50,
       {96, 3, 0, 0, 0x02, 0x01, 0x07},
       Message(F, "FingerprintOpen", Num("permision", 7) + "," + Num("userid", 258))},
      {0x51,
       {96, 3, 0, 0, 0xFF, 0xFF, 0xFF},
       Message(F, "PasswordOpen", Num("permision", 255) + "," + Num("userid", 65535))},
      {0x51, {96, 3}, Message(F, "PasswordOpen", Num("permision", 0) + "," + Num("userid", 0))},
      {0x53, {96, 1, 19, 2, 4}, Message(F, "MatchLevel", Num("data", 4))},
      {0x54, {96, 2, 16, 1, 0x2C, 0x01}, Message(F, "UserCount", Num("data", 300))},
      {0x54, {96, 2, 16, 1, 0x2C}, Message(F, "UserCount", Num("data", 44))},
      {0x55, {96, 1, 18, 1, 3}, Message(F, "UserPermission", Num("data", 3))},
      {0x55, {}, Message(F, "UserPermission", Num("data", 0))},
      {0x56, {}, ""},
      {0x58, {}, ""},
  };
  ExpectCases(96, cases);
}

namespace {

// Base64 of the bytes 0, 1, ..., 192.
const char kFeature0To192[] =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+P0BBQkNERUZHSElKS0xNTk9QUVJT"
    "VFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3BxcnN0dXZ3eHl6e3x9fn+AgYKDhIWGh4iJiouMjY6PkJGSk5SVlpeYmZqbnJ2en6ChoqOkpaan"
    "qKmqq6ytrq+wsbKztLW2t7i5uru8vb6/wA==";

// The part frames of a fingerprint feature (function byte 0x52): payload
// byte 1 the data length n, the part number at byte 3 + n.
class FeatureParts : public ::testing::Test {
 protected:
  // Part 1: user, permission and `bytes`.
  static Bytes First(std::uint16_t user, std::uint8_t permission, const Bytes& bytes) {
    Bytes p = {96,
               static_cast<std::uint8_t>(bytes.size() + 4),
               21,
               1,
               static_cast<std::uint8_t>(user),
               static_cast<std::uint8_t>(user >> 8),
               permission};
    p.insert(p.end(), bytes.begin(), bytes.end());
    p.push_back(1);
    return p;
  }
  // Parts 2 to 6.
  static Bytes Part(std::uint8_t part, const Bytes& bytes) {
    Bytes p = {96, static_cast<std::uint8_t>(bytes.size() + 1), 21, 1};
    p.insert(p.end(), bytes.begin(), bytes.end());
    p.push_back(part);
    return p;
  }
  static Bytes Range(int from, int to) {
    Bytes out;
    for (int i = from; i < to; ++i) out.push_back(static_cast<std::uint8_t>(i));
    return out;
  }
  // The six parts of the bytes 0..192 in the lock's usual sizes.
  static std::vector<Bytes> Whole(std::uint16_t user, std::uint8_t permission) {
    return {First(user, permission, Range(0, 32)),
            Part(2, Range(32, 67)),
            Part(3, Range(67, 102)),
            Part(4, Range(102, 137)),
            Part(5, Range(137, 172)),
            Part(6, Range(172, 193))};
  }
  static std::string Feature(int user, int permission, const std::string& data, int node = 5,
                             std::uint32_t nvsid = 1000001) {
    return Message("DLOCKFINGER", "FingerprintFeature",
                   Str("data", data) + "," + Num("permission", permission) + "," + Num("userid", user), node, nvsid);
  }
  // Each test uses locks of its own: the record lives as long as the process.
  std::string Take(const Bytes& part, std::uint16_t node, std::uint32_t nvsid = 1000001) {
    return Decode(Reply(96, 0x52, part, node, nvsid));
  }
};

}  // namespace

TEST_F(FeatureParts, SixPartsInOrderGiveOneMessage) {
  const auto parts = Whole(258, 3);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(Take(parts[i], 101), "") << i + 1;
  EXPECT_EQ(Take(parts[5], 101), Feature(258, 3, kFeature0To192, 101));
  // Parts 2 to 5 in any order, as long as part 6 comes last.
  for (int i : {0, 4, 2, 3, 1}) EXPECT_EQ(Take(parts[static_cast<std::size_t>(i)], 102), "");
  EXPECT_EQ(Take(parts[5], 102), Feature(258, 3, kFeature0To192, 102));
}

TEST_F(FeatureParts, OnlyPartSixCompletesAndOnlyPartOneStartsAgain) {
  const auto parts = Whole(7, 1);
  for (int i : {0, 1, 2, 3, 5, 4}) EXPECT_EQ(Take(parts[static_cast<std::size_t>(i)], 111), "") << i + 1;
  // Now complete: a repeated part 6 gives the message, and again.
  EXPECT_EQ(Take(parts[5], 111), Feature(7, 1, kFeature0To192, 111));
  EXPECT_EQ(Take(parts[5], 111), Feature(7, 1, kFeature0To192, 111));
  // A new part 1 starts an empty set.
  EXPECT_EQ(Take(First(8, 2, Range(0, 32)), 111), "");
  EXPECT_EQ(Take(parts[5], 111), "");
  // A part 6 with nothing before it gives nothing.
  EXPECT_EQ(Take(parts[5], 112), "");
}

TEST_F(FeatureParts, GapsStayZero) {
  // First 10 bytes, middles of 5, last 3: bytes 33 to 192 stay zero.
  Bytes expected(193, 0);
  std::vector<Bytes> parts = {First(1, 0, Bytes(10, 0xFF))};
  std::fill(expected.begin(), expected.begin() + 10, 0xFF);
  for (std::uint8_t part = 2; part <= 5; ++part) {
    parts.push_back(Part(part, Bytes(5, part)));
    std::fill(expected.begin() + 10 + (part - 2) * 5, expected.begin() + 15 + (part - 2) * 5, part);
  }
  parts.push_back(Part(6, {0xAB, 0xCD, 0xEF}));
  expected[30] = 0xAB;
  expected[31] = 0xCD;
  expected[32] = 0xEF;
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(Take(parts[i], 121), "");
  const std::string data = "/////////////wICAgICAwMDAwMEBAQEBAUFBQUFq83v" + std::string(214, 'A') + "==";
  EXPECT_EQ(Take(parts[5], 121), Feature(1, 0, data, 121));
}

TEST_F(FeatureParts, PartsThatWouldLeaveTheFeatureAreIgnored) {
  const auto parts = Whole(9, 4);
  for (const auto& p : parts) Take(p, 131);
  const std::string complete = Feature(9, 4, kFeature0To192, 131);
  ASSERT_EQ(Take(parts[5], 131), complete);
  const Bytes refused[] = {
      {96, 3, 21, 1, 9, 0, 1},                            // part 1 shorter than its user and permission
      Bytes{96, 0, 21, 1},                                // n = 0: the "part number" is byte 3
      First(1, 1, Bytes(194, 0)),                         // part 1 longer than the feature
      Part(2, Bytes(200, 0)),                             // past the end at offset 32
      Part(5, Bytes(60, 0)),                              // 32 + 3 x 60 + 60 > 193
      Part(6, Bytes(22, 0)),                              // 32 + 4 x 35 + 22 > 193
      {96, 255, 21, 1, 1, 2, 3},                          // the part number lies past the payload
      {96, 10, 21, 1, 1, 2, 3},                           // as well
      Part(0, Bytes(35, 0)),      Part(7, Bytes(35, 0)),  // no such parts
  };
  for (std::size_t i = 0; i < std::size(refused); ++i) {
    EXPECT_EQ(Take(refused[i], 131), "") << i;
    EXPECT_EQ(Take(parts[5], 131), complete) << i;  // the set and the bytes are unchanged
  }
  // An empty middle part is taken: part 6 then lands right after part 1.
  EXPECT_EQ(Take(Part(2, {}), 131), "");
  EXPECT_EQ(Take(parts[5], 131),
            Feature(9, 4,
                    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh+sra6vsLGys7S1tre4ubq7vL2+v8A1Njc4OTo7PD0+P0BBQkNERUZH"
                    "SElKS0xNTk9QUVJTVFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3BxcnN0dXZ3eHl6e3x9fn+AgYKDhIWGh4iJiouMjY6P"
                    "kJGSk5SVlpeYmZqbnJ2en6ChoqOkpaanqKmqq6ytrq+wsbKztLW2t7i5uru8vb6/wA==",
                    131));
}

TEST_F(FeatureParts, LocksKeepTheirOwnParts) {
  const auto a = Whole(1, 1);
  std::vector<Bytes> b = {First(2, 2, Bytes(32, 0xEE))};
  for (std::uint8_t part = 2; part <= 5; ++part) b.push_back(Part(part, Bytes(35, 0xEE)));
  b.push_back(Part(6, Bytes(21, 0xEE)));
  std::string allEE;
  for (int i = 0; i < 64; ++i) allEE += "7u7u";
  allEE += "7g==";
  // Interleaved: another node, and the same node of another gateway.
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(Take(a[i], 141), "");
    EXPECT_EQ(Take(b[i], 142), "");
    EXPECT_EQ(Take(b[i], 141, 2000002), "");
  }
  EXPECT_EQ(Take(a[5], 141), Feature(1, 1, kFeature0To192, 141));
  EXPECT_EQ(Take(b[5], 142), Feature(2, 2, allEE, 142));
  EXPECT_EQ(Take(b[5], 141, 2000002), Feature(2, 2, allEE, 141, 2000002));
}

TEST_F(FeatureParts, ThreadsOfSeveralSessionsAtOnce) {
  constexpr int kThreads = 8, kRounds = 50;
  std::vector<std::thread> threads;
  std::vector<int> good(kThreads, 0);
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      const auto node = static_cast<std::uint16_t>(200 + t);
      Bytes feature(193, static_cast<std::uint8_t>(t + 1));  // each lock a feature of its own
      const std::vector<Bytes> parts = {
          First(static_cast<std::uint16_t>(t), 1, Bytes(feature.begin(), feature.begin() + 32)),
          Part(2, Bytes(35, feature[0])),
          Part(3, Bytes(35, feature[0])),
          Part(4, Bytes(35, feature[0])),
          Part(5, Bytes(35, feature[0])),
          Part(6, Bytes(21, feature[0]))};
      const std::string expected = Feature(t, 1, B64Encode(feature.data(), 193), node);
      for (int round = 0; round < kRounds; ++round) {
        std::string last;
        for (const auto& p : parts) last = RouteIotReply(Reply(96, 0x52, p, node)).text;
        if (last == expected) ++good[static_cast<std::size_t>(t)];
      }
    });
  for (auto& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(good[static_cast<std::size_t>(t)], kRounds) << t;
}
