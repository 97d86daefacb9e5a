#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "library/session/reply_routing.h"
#include "sentrell.h"

namespace {

using decodertest::Message;
using decodertest::Reply;

// Elements are given in the byte order of their names, as the text has them.
struct Case {
  std::uint8_t code;
  std::uint8_t fn;
  std::vector<std::uint8_t> payload;
  std::string expected;  // "" for no message
};

std::string Element(const char* name, const char* type, const char* unit, const std::string& value) {
  return std::string("\"") + name + "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"" + type + "\",\"unit\":\"" +
         unit + "\",\"value\":" + value + "}";
}
std::string Str(const char* name, const char* value, const char* unit = "") {
  return Element(name, "string", unit, std::string("\"") + value + "\"");
}
std::string Num(const char* name, long long value, const char* type = "number", const char* unit = "") {
  return Element(name, type, unit, std::to_string(value));
}

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    const RoutedReply routed = RouteIotReply(Reply(c.code, c.fn, c.payload));
    EXPECT_EQ(routed.text, c.expected) << int(c.code) << " fn " << int(c.fn) << " size " << c.payload.size();
    EXPECT_EQ(routed.notifyId, c.expected.empty() ? 0u : static_cast<unsigned>(NOTIFY_NODEMSG)) << int(c.fn);
  }
}

// The card power controller's card record: card id, card number, then the common tail.
std::string Card(const char* msg, long long id, long long number, const char* power, const char* info, const char* mode,
                 const char* error) {
  return Message("ICREAD", msg,
                 Num("cardid", id, "integer") + "," + Str("cardinfo", info) + "," + Num("cardnum", number, "integer") +
                     "," + Str("errorinfo", error) + "," + Str("powerstatus", power) + "," + Str("workmode", mode));
}

std::string Times(const char* begin, const char* end, const char* power, const char* info, const char* mode,
                  const char* error) {
  return Message("ICREAD", "activetime",
                 Str("begintime", begin) + "," + Str("cardinfo", info) + "," + Str("endtime", end) + "," +
                     Str("errorinfo", error) + "," + Str("powerstatus", power) + "," + Str("workmode", mode));
}

}  // namespace

TEST(LaboratoryReplies, PositioningScanner) {
  const std::string data = Num("college", 2) + "," + Num("count", 7) + "," + Num("department", 4) + "," +
                           Num("index", 3) + "," + Num("instrument", 6) + "," + Num("lab", 5) + "," + Num("school", 1) +
                           "," + Num("share", 1);
  const std::string wide = Num("college", 0xFE) + "," + Num("count", 0xBEEF) + "," + Num("department", 0x80) + "," +
                           Num("index", 0xDEADBEEFu) + "," + Num("instrument", 0x1234) + "," + Num("lab", 0x7F) + "," +
                           Num("school", 0x1312) + "," + Num("share", 0xFF);
  Check({
      {90, 0x20, {}, Message("DEVPST", "fault", Str("info", "cardreaderfault"))},
      {90,
       0x30,
       {90, 0x55, 1, 1},
       Message("DEVPST", "operationfeedback", Str("info", "startscan") + "," + Str("result", "success"))},
      {90,
       0x31,
       {90, 0xAA, 1, 2},
       Message("DEVPST", "operationfeedback", Str("info", "stopscan") + "," + Str("result", "failure"))},
      {90,
       0x30,
       {90, 0x01},
       Message("DEVPST", "operationfeedback", Str("info", "startscan") + "," + Str("result", ""))},
      {90, 0x31, {90}, Message("DEVPST", "operationfeedback", Str("info", "stopscan") + "," + Str("result", ""))},
      {90, 0x41, {}, Message("DEVPST", "status", Str("info", "scanstopped"))},
      {90, 0x50, {90, 0, 1, 0, 3, 0, 0, 0, 1, 0, 2, 4, 5, 6, 0, 7, 0, 1}, Message("DEVPST", "data", data)},
      // "instrument" sits at the odd offset 13, "count" at 15.
      {90,
       0x50,
       {0, 0, 0, 0, 0xEF, 0xBE, 0xAD, 0xDE, 0x12, 0x13, 0xFE, 0x80, 0x7F, 0x34, 0x12, 0xEF, 0xBE, 0xFF},
       Message("DEVPST", "data", wide)},
      // A short record: what is missing reads 0.
      {90,
       0x50,
       {90, 0, 1, 0, 3},
       Message("DEVPST", "data",
               Num("college", 0) + "," + Num("count", 0) + "," + Num("department", 0) + "," + Num("index", 3) + "," +
                   Num("instrument", 0) + "," + Num("lab", 0) + "," + Num("school", 0) + "," + Num("share", 0))},
      {90, 0x10, {90, 0x55}, ""},
      {90, 0x40, {}, ""},
      {90, 0x51, {}, ""},
  });
}

TEST(LaboratoryReplies, InOutRegister) {
  auto io = [](const char* belong, const char* direction, long long card) {
    return Message("DEVIO", "ioinfo",
                   Str("belong", belong) + "," + Num("cardnum", card) + "," + Str("direction", direction));
  };
  Check({
      {100,
       0x10,
       {100, 5, 1, 0, 0x39, 0x30},
       Message("DEVIO", "alarm", Num("cardnum", 12345) + "," + Str("info", "UNAUTHORIZEDOUT"))},
      {100, 0x20, {}, Message("DEVIO", "fault", Str("info", "uart"))},
      {100, 0x21, {}, Message("DEVIO", "fault", Str("info", "memory"))},
      {100, 0x22, {}, Message("DEVIO", "fault", Str("info", "indoorcomm"))},
      {100, 0x23, {}, Message("DEVIO", "fault", Str("info", "outdoorcomm"))},
      {100, 0x24, {}, ""},
      {100, 0x30, {100, 5, 1, 1}, Message("DEVIO", "feedback", Str("info", "writebelonginfo"))},
      {100, 0x31, {100, 5, 1, 2}, Message("DEVIO", "feedback", Str("info", "querybelonginfo"))},
      {100, 0x40, {100, 5, 1, 1}, Message("DEVIO", "status", Str("info", "writebelongsucc"))},
      {100, 0x41, {}, ""},
      {100,
       0x50,
       {100, 5, 1, 2, 0x12, 0x13, 2, 3, 4},
       Message("DEVIO", "data",
               Num("college", 2) + "," + Num("department", 3) + "," + Num("lab", 4) + "," + Num("school", 0x1312))},
      {100, 0x51, {100, 5, 1, 1, 0x01, 0x00}, io("this", "in", 1)},
      {100, 0x52, {100, 5, 1, 2, 0x39, 0x30}, io("this", "out", 12345)},
      {100, 0x53, {100, 5, 1, 3, 0xFF, 0xFF}, io("other", "in", 65535)},
      {100, 0x54, {100, 5, 1, 4, 0x02, 0x00}, io("other", "out", 2)},
      {100, 0x55, {100, 5, 1, 5, 0x03, 0x00}, io("other", "bypass", 3)},
      // The passage byte decides, not the function byte; unknown passages give empty words.
      {100, 0x51, {100, 5, 1, 5, 0x03, 0x00}, io("other", "bypass", 3)},
      {100, 0x52, {100, 5, 1, 0, 0x03, 0x00}, io("", "", 3)},
      {100, 0x52, {100, 5, 1, 6, 0x03, 0x00}, io("", "", 3)},
      {100, 0x52, {100, 5, 1, 0xFF}, io("", "", 0)},
      {100, 0x51, {}, io("", "", 0)},
      {100, 0x56, {100, 5, 1, 1, 0x01, 0x00}, ""},
  });
}

TEST(LaboratoryReplies, CardPowerCardRecords) {
  const std::vector<std::uint8_t> record = {0x78, 0x56, 0x34, 0x12, 0x39, 0x30, 1, 'A', 'B', 0, 0, 0, 0, 1, 0};
  const std::uint32_t id = 0x12345678;
  auto with = [&](std::size_t at, std::vector<std::uint8_t> bytes) {
    std::vector<std::uint8_t> p = record;
    for (std::size_t i = 0; i < bytes.size(); ++i) p[at + i] = bytes[i];
    return p;
  };
  Check({
      {86, 0x13, {}, Message("ICREAD", "fault", Str("info", "broken"))},
      {86, 0x30, record, Card("poweroperation", id, 12345, "on", "AB", "mode1", "noerror")},
      {86, 0x31, with(6, {0}), Card("poweroperation", id, 12345, "off", "AB", "mode1", "noerror")},
      {86, 0x32, record, Card("modefb1", id, 12345, "on", "AB", "mode1", "noerror")},
      {86, 0x33, with(13, {2, 2}), Card("modefb2", id, 12345, "on", "AB", "mode2hour", "errtime")},
      {86, 0x34, with(13, {5, 1}), Card("modefb3", id, 12345, "on", "AB", "mode3", "errcardinfo")},
      {86, 0x43, with(6, {0xFF}), Card("powerstatus", id, 12345, "on", "AB", "mode1", "noerror")},
      {86, 0x44, with(13, {3, 0}), Card("cardremove", id, 12345, "on", "AB", "mode2day", "noerror")},
      {86, 0x45, with(13, {4, 3}), Card("cardinvalid", id, 12345, "on", "AB", "mode2week", "errnotime")},
      {86, 0x43, with(13, {0, 0}), Card("powerstatus", id, 12345, "on", "AB", "nomode", "noerror")},
      // Words outside their tables are empty.
      {86, 0x43, with(13, {6, 4}), Card("powerstatus", id, 12345, "on", "AB", "", "")},
      {86, 0x43, with(13, {0xFF, 0xFF}), Card("powerstatus", id, 12345, "on", "AB", "", "")},
      // The card text: six bytes at most, up to the first zero byte, from the wire's code page.
      {86, 0x43, with(7, {'A', 'B', 'C', 'D', 'E', 'F'}),
       Card("powerstatus", id, 12345, "on", "ABCDEF", "mode1", "noerror")},
      {86, 0x43, with(7, {0, 'B'}), Card("powerstatus", id, 12345, "on", "", "mode1", "noerror")},
      {86, 0x43, with(7, {0xD1, 0xA7, 0xD0, 0xA3}), Card("powerstatus", id, 12345, "on", "学校", "mode1", "noerror")},
      {86, 0x43, with(7, {'A', 'B', 'C', 'D', 'E', 0xD1}),
       Card("powerstatus", id, 12345, "on", "ABCDE", "mode1", "noerror")},
      // A short record: the text ends with the payload and what is missing reads 0.
      {86, 0x44, {0x01, 0, 0, 0, 0x02, 0, 1, 'X', 'Y'}, Card("cardremove", 1, 2, "on", "XY", "nomode", "noerror")},
      {86, 0x45, {}, Card("cardinvalid", 0, 0, "off", "", "nomode", "noerror")},
      {86, 0x40, record, ""},
      {86, 0x35, record, ""},
      {86, 0x10, record, ""},
  });
}

TEST(LaboratoryReplies, CardPowerActiveTime) {
  Check({
      {86,
       0x50,
       {1, 8, 0, 5, 18, 30, 1, 'A', 'B', 0, 0, 0, 0, 3, 0},
       Times("Mon 08:00", "Fri 18:30", "on", "AB", "mode2day", "noerror")},
      {86,
       0x50,
       {0, 23, 59, 6, 0, 5, 0, 0, 0, 0, 0, 0, 0, 4, 2},
       Times("Sun 23:59", "Sat 00:05", "off", "", "mode2week", "errtime")},
      // A weekday outside the table leaves its word empty; hours are written as they come.
      {86, 0x50, {7, 8, 0, 0xFF, 255, 255}, Times(" 08:00", " 255:255", "off", "", "nomode", "noerror")},
      {86, 0x50, {}, Times("Sun 00:00", "Sun 00:00", "off", "", "nomode", "noerror")},
      {86, 0x51, {1, 8, 0, 5, 18, 30}, ""},
  });
}

TEST(LaboratoryReplies, CameraCover) {
  Check({
      {87, 0x30, {0x00, 0x1E}, Message("CC", "BeginClose", Num("waittime", 30, "number", "s"))},
      {87, 0x30, {0x01, 0x05}, Message("CC", "BeginOpen", Num("waittime", 5, "number", "s"))},
      {87, 0x30, {0x01, 0xFF}, Message("CC", "BeginOpen", Num("waittime", 255, "number", "s"))},
      {87, 0x30, {0x00}, Message("CC", "BeginClose", Num("waittime", 0, "number", "s"))},
      {87, 0x30, {}, Message("CC", "BeginClose", Num("waittime", 0, "number", "s"))},
      {87, 0x30, {0x0A}, Message("CC", "OperationSuccess", Str("operation", "close"))},
      {87, 0x30, {0x0B, 0x07}, Message("CC", "OperationSuccess", Str("operation", "open"))},
      {87,
       0x30,
       {0x14, 0x00},
       Message("CC", "OperationFailure", Str("operation", "close") + "," + Str("position", "closed", "s"))},
      {87,
       0x30,
       {0x15, 0x01},
       Message("CC", "OperationFailure", Str("operation", "open") + "," + Str("position", "opened", "s"))},
      {87,
       0x30,
       {0x15, 0x02},
       Message("CC", "OperationFailure", Str("operation", "open") + "," + Str("position", "unknown", "s"))},
      {87,
       0x30,
       {0x14, 0x03},
       Message("CC", "OperationFailure", Str("operation", "close") + "," + Str("position", "", "s"))},
      {87,
       0x30,
       {0x14},
       Message("CC", "OperationFailure", Str("operation", "close") + "," + Str("position", "closed", "s"))},
      {87, 0x40, {0x01}, Message("CC", "CurrentStatus", Str("position", "opened"))},
      {87, 0x40, {0x02}, Message("CC", "CurrentStatus", Str("position", "unknown"))},
      {87, 0x40, {0x03}, Message("CC", "CurrentStatus", Str("position", ""))},
      {87, 0x40, {0xFF}, Message("CC", "CurrentStatus", Str("position", ""))},
      {87, 0x40, {}, Message("CC", "CurrentStatus", Str("position", "closed"))},
      {87, 0x30, {0x02, 0x1E}, ""},
      {87, 0x30, {0x0C}, ""},
      {87, 0x30, {0x16, 0x01}, ""},
      {87, 0x31, {0x00, 0x1E}, ""},
      {87, 0x41, {0x01}, ""},
  });
}

TEST(LaboratoryReplies, WaterValve) {
  Check({
      {88, 0x12, {}, Message("WATER", "alarm", Str("alarmtype", "broken"))},
      {88, 0x30, {0, 0, 0, 0, 1}, Message("WATER", "status", Str("status", "on"))},
      {88, 0x31, {1, 1, 1, 1, 0}, Message("WATER", "status", Str("status", "off"))},
      {88, 0x43, {0, 0, 0, 0, 7}, Message("WATER", "status", Str("status", "on"))},
      {88, 0x43, {1, 1, 1, 1}, Message("WATER", "status", Str("status", "off"))},  // byte 4 missing
      {88, 0x32, {0, 0, 0, 0, 1}, Message("WATER", "settimer", Str("status", "on"))},
      {88, 0x33, {0, 0, 0, 0, 0}, Message("WATER", "timeron", Str("status", "off"))},
      {88, 0x34, {0, 0, 0, 0, 1}, Message("WATER", "timeroff", Str("status", "on"))},
      {88, 0x35, {0, 0, 0, 0, 1}, ""},
      {88, 0x10, {0, 0, 0, 0, 1}, ""},
      {88, 0x42, {0, 0, 0, 0, 1}, ""},
  });
}

TEST(LaboratoryReplies, TimedSwitchesShareOneTable) {
  for (const auto& [code, devtype] : {std::pair<std::uint8_t, const char*>{93, "VLCONTROL"}, {94, "IFCONTROL"}}) {
    SCOPED_TRACE(devtype);
    auto times = [&](const char* begin, const char* end) {
      return Message(devtype, "ActiveTime", Str("begin", begin) + "," + Str("end", end));
    };
    Check({
        {code, 0x30, {0, 0, 0, 0}, Message(devtype, "status", Str("status", "TurnOn"))},
        {code, 0x31, {}, Message(devtype, "status", Str("status", "TurnOff"))},
        {code, 0x50, {}, Message(devtype, "status", Str("status", "SetActiveTime"))},
        {code, 0x51, {8, 5, 17, 30}, times("08:05", "17:30")},
        {code, 0x51, {25, 99, 0xFF, 0}, times("25:99", "255:00")},
        {code, 0x51, {12}, times("12:00", "00:00")},
        {code, 0x52, {}, Message(devtype, "status", Str("status", "SetDelayTime"))},
        {code, 0x53, {}, ""},
        {code, 0x40, {}, ""},
        {code, 0x10, {}, ""},
    });
  }
}

TEST(LaboratoryReplies, AnyFrameGivesAWholeTextOrNone) {
  // Random payloads of every short length for every function byte: each text
  // that comes out is one whole JSON line, and nothing reads past the payload.
  std::mt19937 random(15);
  for (std::uint8_t code : {86, 87, 88, 90, 93, 94, 100}) {
    for (int fn = 16; fn <= 239; ++fn) {
      for (std::size_t size = 0; size <= 20; ++size) {
        std::vector<std::uint8_t> payload(size);
        for (auto& b : payload) b = static_cast<std::uint8_t>(random());
        const RoutedReply routed = RouteIotReply(Reply(code, static_cast<std::uint8_t>(fn), payload));
        if (routed.text.empty()) continue;
        EXPECT_EQ(routed.text.front(), '{') << int(code) << " " << fn;
        EXPECT_EQ(routed.text.back(), '\n') << int(code) << " " << fn;
      }
    }
  }
}
