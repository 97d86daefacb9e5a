#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/api/commands_laboratory.h"

namespace {
struct Case {
  const char* name;
  IotCommand command;
  std::uint8_t code, fn;
  std::vector<std::uint8_t> payload;
};
}  // namespace

TEST(LaboratoryCommands, CodesFunctionBytesAndPayloads) {
  const std::vector<Case> cases = {
      {"card power on", IcreadCtrl(1), 86, 16, {0, 0, 0, 0}},
      {"card power off", IcreadCtrl(0), 86, 17, {0, 0, 0, 0}},
      {"card power other", IcreadCtrl(2), 86, 0, {0, 0, 0, 0}},
      {"card power negative", IcreadCtrl(-1), 86, 0, {0, 0, 0, 0}},
      {"mode 1", IcreadSetMode1("AB"), 86, 18, {0x41, 0x42, 0, 0, 0, 0}},
      {"mode 2",
       IcreadSetMode2("ABCDEF", 1, 2, 3, 4, 5, 6, 7),
       86,
       19,
       {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 2, 3, 4, 5, 6, 7, 1}},
      {"mode 2 low bytes",
       IcreadSetMode2("", 0x104, -1, 0, 0, 0, 0, 0x1FF),
       86,
       19,
       {0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0x04}},
      {"mode 3", IcreadSetMode3("XYZ", 1, 2, 3), 86, 20, {0x58, 0x59, 0x5A, 0, 0, 0, 1, 2, 3}},
      {"card config", IcreadQueryConfig(), 86, 21, {0, 0, 0, 0}},
      {"card status", IcreadQueryStatus(), 86, 67, {0, 0, 0, 0}},
      {"valve open", WaterCtrl(1), 88, 16, {0, 0, 0, 0, 0}},
      {"valve close", WaterCtrl(0), 88, 17, {0, 0, 0, 0, 0}},
      {"valve other", WaterCtrl(2), 88, 0, {0, 0, 0, 0, 0}},
      {"valve timer", WaterSetTimer(1, 8, 30, 5, 18, 0, 0x102), 88, 18, {1, 8, 30, 5, 18, 0, 2}},
      {"valve timer on", WaterTimerCtrl(1), 88, 19, {0, 0, 0, 0, 0}},
      {"valve timer off", WaterTimerCtrl(0), 88, 20, {0, 0, 0, 0, 0}},
      {"valve timer other", WaterTimerCtrl(5), 88, 0, {0, 0, 0, 0, 0}},
      {"valve status", WaterQueryStatus(), 88, 67, {0, 0, 0, 0, 0}},
      {"reader stop", CarrfidControl(0), 89, 20, {0, 0, 0, 0}},
      {"reader forward", CarrfidControl(1), 89, 16, {0, 0, 0, 0}},
      {"reader back", CarrfidControl(2), 89, 17, {0, 0, 0, 0}},
      {"reader left", CarrfidControl(3), 89, 18, {0, 0, 0, 0}},
      {"reader right", CarrfidControl(4), 89, 19, {0, 0, 0, 0}},
      {"reader other", CarrfidControl(7), 89, 95, {0, 0, 0, 0}},
      {"reader negative", CarrfidControl(-1), 89, 95, {0, 0, 0, 0}},
      {"register write", DevioCtrl(0x1312, 2, 3, 0x104), 100, 16, {100, 5, 1, 1, 0x12, 0x13, 2, 3, 4}},
      {"register read", DevioGetInfo(), 100, 17, {100, 5, 1, 2, 0, 0, 0, 0, 0}},
      {"vl on", VlcontrolCtrl(1), 93, 48, {0, 0, 0, 0}},
      {"vl off", VlcontrolCtrl(0), 93, 49, {0, 0, 0, 0}},
      {"vl other is the query", VlcontrolCtrl(3), 93, 81, {0, 0, 0, 0}},
      {"vl active time", VlcontrolSetActiveTime("08:30", "17:45"), 93, 80, {8, 30, 17, 45}},
      {"vl query", VlcontrolQueryActiveTime(), 93, 81, {0, 0, 0, 0}},
      {"vl delay", VlcontrolSetDelayTime(0x10A), 93, 82, {0x0A, 0, 0, 0}},
      {"if on", IfcontrolCtrl(1), 94, 48, {0, 0, 0, 0}},
      {"if off", IfcontrolCtrl(0), 94, 49, {0, 0, 0, 0}},
      {"if other is the query", IfcontrolCtrl(-7), 94, 81, {0, 0, 0, 0}},
      {"if active time", IfcontrolSetActiveTime("7:05", "23:59"), 94, 80, {7, 5, 23, 59}},
      {"if query", IfcontrolQueryActiveTime(), 94, 81, {0, 0, 0, 0}},
      {"if delay", IfcontrolSetDelayTime(30), 94, 82, {30, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.command.commandCode, c.code) << c.name;
    EXPECT_EQ(c.command.functionByte, c.fn) << c.name;
    EXPECT_EQ(c.command.payload, c.payload) << c.name;
    EXPECT_TRUE(c.command.record) << c.name;
  }
}

TEST(LaboratoryCommands, CardTextIsSixWireBytesZeroPadded) {
  struct TextCase {
    const char* text;
    std::vector<std::uint8_t> field;
  };
  const TextCase cases[] = {
      {"", {0, 0, 0, 0, 0, 0}},
      {"AB", {0x41, 0x42, 0, 0, 0, 0}},
      {"ABCDEF", {0x41, 0x42, 0x43, 0x44, 0x45, 0x46}},
      {"ABCDEFGH", {0x41, 0x42, 0x43, 0x44, 0x45, 0x46}},
      // UTF-8 in, GBK out: 学校 is D1 A7 D0 A3.
      {"学校", {0xD1, 0xA7, 0xD0, 0xA3, 0, 0}},
      {"学校一", {0xD1, 0xA7, 0xD0, 0xA3, 0xD2, 0xBB}},
      // A double-byte character that would straddle the sixth byte stays out.
      {"A学校一", {0x41, 0xD1, 0xA7, 0xD0, 0xA3, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(CardTextField(c.text), c.field) << c.text;
}

TEST(LaboratoryCommands, ActiveTimesAreReadAsTwoDigitFields) {
  struct TimeCase {
    const char* begin;
    const char* end;
    std::vector<std::uint8_t> payload;
  };
  const TimeCase cases[] = {
      {"08:30", "17:45", {8, 30, 17, 45}},
      {"25:99", "00:00", {25, 99, 0, 0}},  // not range-checked
      {"", "xx", {0, 0, 0, 0}},            // nothing parses
      {"12", "12-30", {12, 0, 12, 0}},     // the minute does not parse
      {"123:45", "1:2", {12, 0, 1, 2}},    // two digits at most
      {"-1:30", "08:3x", {0xFF, 30, 8, 3}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VlcontrolSetActiveTime(c.begin, c.end).payload, c.payload) << c.begin << " " << c.end;
    EXPECT_EQ(IfcontrolSetActiveTime(c.begin, c.end).payload, c.payload) << c.begin << " " << c.end;
  }
}
