#include <gtest/gtest.h>

#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "library/api/commands_doorlock.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Base64 of the bytes 0, 1, ..., 192: the 260 characters of a whole feature.
const char kFeature0To192[] =
    "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7PD0+P0BBQkNERUZHSElKS0xNTk9QUVJT"
    "VFVWV1hZWltcXV5fYGFiY2RlZmdoaWprbG1ub3BxcnN0dXZ3eHl6e3x9fn+AgYKDhIWGh4iJiouMjY6PkJGSk5SVlpeYmZqbnJ2en6ChoqOkpaan"
    "qKmqq6ytrq+wsbKztLW2t7i5uru8vb6/wA==";

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

Bytes Range(int from, int to) {  // from .. to - 1
  Bytes out;
  for (int i = from; i < to; ++i) out.push_back(static_cast<std::uint8_t>(i));
  return out;
}

struct Case {
  const char* name;
  IotCommand command;
  std::uint8_t code, fn;
  Bytes payload;
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(c.command.commandCode, c.code) << c.name;
    EXPECT_EQ(c.command.functionByte, c.fn) << c.name;
    EXPECT_EQ(c.command.payload, c.payload) << c.name;
    EXPECT_TRUE(c.command.record) << c.name;
  }
}

}  // namespace

TEST(DoorLockCommands, SingleFramesCarryTheSubHeaderAndTheirData) {
  const std::uint8_t month[4] = {0xFF, 0x7F, 0x3F, 0x1F};
  const std::vector<Case> cases = {
      {"DAC interval", DacSetTimeInterval(8, 9, 10, 99), 80, 17, {80, 4, 2, 1, 0x08, 0x09, 0x10, 0x99}},
      {"DAC interval past 99", DacSetTimeInterval(100, 0x163, -1, 0), 80, 17, {80, 4, 2, 1, 0xFF, 0x99, 0xFF, 0}},
      {"DAC month", DacSetWorkdayOfMonth(21, 12, month, 4), 80, 18, {80, 6, 3, 1, 0x21, 0x12, 0xFF, 0x7F, 0x3F, 0x1F}},
      {"DAC add card",
       DacAddCard(3, 123456, 0x0102, 0x0A0B0C0D),
       80,
       20,
       {80, 10, 4, 1, 3, 0x56, 0x34, 0x12, 0x02, 0x01, 0x0D, 0x0C, 0x0B, 0x0A}},
      {"DAC add card, short code", DacAddCard(1, 42, 7, 9), 80, 20, {80, 10, 4, 1, 1, 0x42, 0, 0, 7, 0, 9, 0, 0, 0}},
      {"DAC add card, nine digits",
       DacAddCard(1, 123456789, 0, 0),
       80,
       20,
       {80, 10, 4, 1, 1, 0x89, 0x67, 0x45, 0, 0, 0, 0, 0, 0}},
      {"DAC authorize",
       DacAuthorize(0x1FE, 0x0304, -2),
       80,
       20,
       {80, 8, 4, 1, 0xFE, 0, 0x04, 0x03, 0xFE, 0xFF, 0xFF, 0xFF}},
      {"DAC remove card",
       DacRemoveCard(5, 0x10203, 0x11223344),
       80,
       21,
       {80, 8, 4, 2, 5, 0, 0x03, 0x02, 0x44, 0x33, 0x22, 0x11}},
      {"DAC open", DacOpen(), 80, 22, {80, 0, 5, 1}},
      {"DAC start capture", DacStartCapture(), 80, 23, {80, 0, 6, 1}},
      {"DAC stop capture", DacStopCapture(), 80, 24, {80, 0, 6, 2}},
      {"DAC door status", DacGetDoorStatus(), 80, 25, {80, 0, 7, 1}},
      {"finger interval", DLockFingerSetTimeInterval(1, 2, 3, 45), 96, 17, {96, 4, 2, 1, 1, 2, 3, 0x45}},
      {"finger month",
       DLockFingerSetWorkdayOfMonth(2024, 2, month, 4),
       96,
       18,
       {96, 6, 3, 1, 0x24, 0x02, 0xFF, 0x7F, 0x3F, 0x1F}},
      {"finger open", DLockFingerOpenDoor(), 96, 22, {96, 0, 5, 1}},
      {"finger start capture", DLockFingerStartCapture(), 96, 23, {96, 0, 6, 1}},
      {"finger stop capture", DLockFingerStopCapture(), 96, 24, {96, 0, 6, 2}},
      {"finger door status", DLockFingerQueryDoorStatus(), 96, 25, {96, 0, 7, 1}},
      {"finger user count", DLockFingerQueryUserCount(), 96, 29, {96, 0, 16, 1}},
      {"finger remove user", DLockFingerRemoveUser(258), 96, 30, {96, 2, 17, 2, 2, 1}},
      {"finger remove all", DLockFingerRemoveAllUser(), 96, 31, {96, 0, 17, 3}},
      {"finger permission", DLockFingerQueryUserPermission(0x10005), 96, 32, {96, 2, 18, 1, 5, 0}},
      {"finger set level", DLockFingerSetMatchingLevel(0x103), 96, 33, {96, 1, 19, 1, 3}},
      {"finger query level", DLockFingerQueryMatchingLevel(), 96, 34, {96, 0, 19, 2}},
      {"finger query feature", DLockFingerQueryFingerprintFeature(0x1234), 96, 36, {96, 2, 21, 1, 0x34, 0x12}},
  };
  ExpectCases(cases);
}

TEST(DoorLockCommands, TimeTextsGiveBcdFieldsAndTheCalendarsWeekday) {
  struct TimeCase {
    const char* text;
    Bytes time;  // second, minute, hour, day, weekday, month, year
  };
  const TimeCase cases[] = {
      {"2021-12-31 23:59:58", {0x58, 0x59, 0x23, 0x31, 5, 0x12, 0x21}},  // a Friday
      {"2024-02-29 00:00:00", {0, 0, 0, 0x29, 4, 0x02, 0x24}},
      {"2000-02-29 12:00:00", {0, 0, 0x12, 0x29, 2, 0x02, 0x00}},
      {"2023-01-01 01:02:03", {0x03, 0x02, 0x01, 0x01, 7, 0x01, 0x23}},  // Sunday is 7
      {"2021-03-28 02:30:00", {0, 0x30, 0x02, 0x28, 7, 0x03, 0x21}},     // in a daylight-saving gap: kept
      {" 2021-1-2  3:4:5 and more", {0x05, 0x04, 0x03, 0x02, 6, 0x01, 0x21}},
      {"+2021-+1-2 3:4:5", {0x05, 0x04, 0x03, 0x02, 6, 0x01, 0x21}},
  };
  for (const auto& c : cases) {
    const auto dac = DacSetTime(c.text);
    const auto finger = DLockFingerSetTime(c.text);
    ASSERT_TRUE(dac && finger) << c.text;
    EXPECT_EQ(dac->commandCode, 80);
    EXPECT_EQ(dac->functionByte, 16);
    EXPECT_EQ(dac->payload, Concat({80, 7, 1, 1}, c.time)) << c.text;
    EXPECT_EQ(finger->commandCode, 96);
    EXPECT_EQ(finger->functionByte, 16);
    EXPECT_EQ(finger->payload, Concat({96, 7, 1, 1}, c.time)) << c.text;
  }
}

TEST(DoorLockCommands, TimeTextsThatNameNoRealMomentAreRefused) {
  for (const char* text : {"",
                           "garbage",
                           "2021-12-31",
                           "2021-12-31 23:59",
                           "2021-12-31T23:59:58",
                           "2021/12/31 23:59:58",
                           "2021 -12-31 23:59:58",
                           "2021-02-30 10:00:00",
                           "2021-02-29 10:00:00",
                           "1900-02-29 10:00:00",
                           "2021-13-01 00:00:00",
                           "2021-00-10 00:00:00",
                           "2021-04-31 00:00:00",
                           "2021-12-00 00:00:00",
                           "2021-12-31 24:00:00",
                           "2021-12-31 23:60:00",
                           "2021-12-31 23:59:60",
                           "2021-12-31 -1:00:00",
                           "0-01-01 00:00:00",
                           "10000-01-01 00:00:00",
                           "1582-10-10 00:00:00",
                           "99999999999-01-01 00:00:00",
                           "2021-12-31 23:59:+-1"}) {
    EXPECT_FALSE(DacSetTime(text)) << text;
    EXPECT_FALSE(DLockFingerSetTime(text)) << text;
  }
}

TEST(DoorLockCommands, WorkdaysTakeTheGivenLengthOnlyAndTwoDigitYears) {
  const Bytes source = Range(1, 101);  // 100 bytes: 1, 2, ...
  struct MonthCase {
    int year, length;
    Bytes data;  // bcd year, then the four day bytes
  };
  const MonthCase months[] = {
      {2021, 4, {0x21, 1, 2, 3, 4}}, {21, 2, {0x21, 1, 2, 0, 0}},    {2021, 100, {0x21, 1, 2, 3, 4}},
      {2021, 0, {0x21, 0, 0, 0, 0}}, {2021, -5, {0x21, 0, 0, 0, 0}}, {1999, 1, {0x99, 1, 0, 0, 0}},
  };
  for (const auto& c : months) {
    const IotCommand dac = DacSetWorkdayOfMonth(c.year, 7, source.data(), c.length);
    const IotCommand finger = DLockFingerSetWorkdayOfMonth(c.year, 7, source.data(), c.length);
    const Bytes data = {c.data[0], 0x07, c.data[1], c.data[2], c.data[3], c.data[4]};
    EXPECT_EQ(dac.payload, Concat({80, 6, 3, 1}, data)) << c.length;
    EXPECT_EQ(finger.payload, Concat({96, 6, 3, 1}, data)) << c.length;
  }

  struct YearCase {
    int length;
    Bytes first, second;  // the 24 data bytes of each frame
  };
  const YearCase years[] = {
      {48, Range(1, 25), Range(25, 49)},
      {100, Range(1, 25), Range(25, 49)},
      {30, Range(1, 25), Concat(Range(25, 31), Bytes(18, 0))},
      {10, Concat(Range(1, 11), Bytes(14, 0)), Bytes(24, 0)},
      {-1, Bytes(24, 0), Bytes(24, 0)},
  };
  for (const auto& c : years) {
    for (const auto& [code, frames] :
         {std::pair{std::uint8_t{80}, DacSetWorkdayOfYear(2021, source.data(), c.length)},
          std::pair{std::uint8_t{96}, DLockFingerSetWorkdayOfYear(21, source.data(), c.length)}}) {
      ASSERT_EQ(frames.size(), 2u);
      for (const IotCommand& frame : frames) {
        EXPECT_EQ(frame.commandCode, code);
        EXPECT_EQ(frame.functionByte, 19);
        EXPECT_EQ(frame.payload.size(), 30u);
      }
      EXPECT_EQ(frames[0].payload, Concat({code, 26, 3, 2, 0x21, 1}, c.first)) << c.length;
      EXPECT_EQ(frames[1].payload, Concat({code, 26, 3, 2, 0x21, 2}, c.second)) << c.length;
    }
  }
}

TEST(DoorLockCommands, FingerprintFeatureGoesOutInSixFrames) {
  const auto frames = DLockFingerSetFingerprintFeature(258, 0x103, kFeature0To192);
  ASSERT_EQ(frames.size(), 6u);
  const Bytes expected[] = {
      Concat({96, 35, 20, 1, 0x02, 0x01, 0x03}, Range(0, 32)),
      Concat({96, 35, 20, 2}, Range(32, 67)),
      Concat({96, 35, 20, 3}, Range(67, 102)),
      Concat({96, 35, 20, 4}, Range(102, 137)),
      Concat({96, 35, 20, 5}, Range(137, 172)),
      Concat({96, 35, 20, 6}, Range(172, 193)),
  };
  const std::size_t sizes[] = {39, 39, 39, 39, 39, 25};
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(frames[k].commandCode, 96);
    EXPECT_EQ(frames[k].functionByte, 35);
    EXPECT_TRUE(frames[k].record);
    EXPECT_EQ(frames[k].payload.size(), sizes[k]) << k + 1;
    EXPECT_EQ(frames[k].payload, expected[k]) << k + 1;
  }
}

TEST(DoorLockCommands, FingerprintFeatureTextsShortLongAndBad) {
  // A short feature leaves the rest zero.
  const auto shortOne = DLockFingerSetFingerprintFeature(1, 2, "AQID");  // 01 02 03
  ASSERT_EQ(shortOne.size(), 6u);
  EXPECT_EQ(shortOne[0].payload, Concat({96, 35, 20, 1, 1, 0, 2, 1, 2, 3}, Bytes(29, 0)));
  EXPECT_EQ(shortOne[5].payload, Concat({96, 35, 20, 6}, Bytes(21, 0)));

  // 260 characters without padding decode to 195 bytes: the first 193 go.
  const std::string unpadded = std::string(kFeature0To192).substr(0, 256) + "wMHC";  // C0 C1 C2
  const auto full = DLockFingerSetFingerprintFeature(1, 2, unpadded);
  ASSERT_EQ(full.size(), 6u);
  EXPECT_EQ(full[5].payload, Concat({96, 35, 20, 6}, Concat(Range(172, 192), {0xC0})));

  // Nothing at all for texts that are too long or decode to nothing.
  const std::string tooLong = std::string(kFeature0To192).substr(0, 256) + "AAAAAAAA";
  for (const std::string& bad : {tooLong, std::string(), std::string("AAA"), std::string("AA*A"), std::string("===="),
                                 std::string(kFeature0To192) + "A", std::string("\xC0\xC1\xC2\xC3")}) {
    EXPECT_TRUE(DLockFingerSetFingerprintFeature(1, 2, bad).empty()) << bad;
  }
}
