#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decoder_test_support.h"
#include "library/session/reply_routing.h"
#include "sentrell.h"

namespace {

using decodertest::Message;
using decodertest::Str;
using decodertest::Reply;

constexpr std::uint8_t kCabinet = 97, kMonitor = 49, kMeter = 196;

struct Case {
  const char* name;
  std::uint8_t fn;
  std::vector<std::uint8_t> payload;
  std::string expected;  // "" for no message
};

// One element with precision 0; `value` as it is written.
std::string El(const char* name, const std::string& value, const char* type = "number", const char* unit = "",
               const char* subtype = "") {
  return std::string("\"") + name + "\":{\"precision\":0,\"subtype\":\"" + subtype + "\",\"type\":\"" + type +
         "\",\"unit\":\"" + unit + "\",\"value\":" + value + "}";
}
std::string Num(const char* name, long long value, const char* type = "number", const char* unit = "") {
  return El(name, std::to_string(value), type, unit);
}
std::string Array(const char* name, const char* values) { return El(name, values, "array", "", "number"); }

template <class... Parts>
std::string Join(const std::string& first, const Parts&... rest) {
  return (first + ... + ("," + rest));
}

void ExpectTexts(std::uint8_t code, const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    const RoutedReply routed = RouteIotReply(Reply(code, c.fn, c.payload));
    EXPECT_EQ(routed.text, c.expected) << c.name;
    EXPECT_EQ(routed.notifyId, c.expected.empty() ? 0u : static_cast<unsigned>(NOTIFY_NODEMSG)) << c.name;
    EXPECT_TRUE(routed.deviceData) << c.name;
  }
}

std::string Cab(const char* msg, const std::string& data) { return Message("CABMGZ", msg, data); }
std::string Ack(const char* info, const char* type, const char* result, int box) {
  return Cab("ack", Join(Num("boxnum", box), Str("info", info), Str("result", result), Str("type", type)));
}

std::string AdminOpen(int box, const char* who) {
  return Cab("adminopen", Join(Num("box", box, "string"), Str("info", who)));
}

}  // namespace

TEST(CabinetReplies, EventsAndAcknowledgements) {
  ExpectTexts(kCabinet, {
      {"box broken", 0x10, {}, Cab("status", Str("alarm", "BoxBroken"))},
      {"reader broken", 0x11, {}, Cab("status", Str("alarm", "ReaderBroken"))},
      {"communication", 0x20, {}, Cab("status", Str("fault", "Communication"))},
      {"storage", 0x21, {}, Cab("status", Str("fault", "Storage"))},
      {"box removed", 0x3A, {97, 0x55, 4, 2, 3}, Ack("RemBox", "Execute", "Success", 3)},
      {"weight refused", 0x30, {97, 0xAA, 1, 1, 7}, Ack("GetWeight", "Receive", "Failure", 7)},
      {"open received", 0x31, {97, 0x55, 2, 1, 1}, Ack("OpenBox", "Receive", "Success", 1)},
      {"admins cleared", 0x36, {97, 0x55, 4, 2, 0}, Ack("ClearAdminInCabinet", "Execute", "Success", 0)},
      {"reinit", 0x39, {97, 0x55}, Ack("ReInit", "Execute", "Success", 0)},
      {"user removed", 0x3D, {97, 0x55, 3, 2, 0xFF}, Ack("RemAdvUser", "Execute", "Success", 255)},
      {"user op received", 0x3E, {97, 0x55, 8, 1, 2}, Ack("UserOp", "Receive", "Success", 2)},
      {"other result word", 0x3F, {97, 0x12, 8, 1, 2}, Ack("UserOp", "Execute", "", 2)},
      {"empty acknowledgement", 0x3C, {}, Ack("AddAdvUser", "Execute", "", 0)},
      {"box closed", 0x40, {97, 0, 0, 0, 9}, Cab("boxclosed", Num("boxnum", 9))},
      {"init start", 0x41, {}, Cab("boxinit", Str("status", "Start"))},
      {"init failed", 0x42, {}, Cab("boxinit", Str("status", "Failed"))},
      {"init finish", 0x43, {}, Cab("boxinit", Str("status", "Finish"))},
      {"unlisted alarm", 0x12, {}, ""},
      {"unlisted fault", 0x22, {}, ""},
      {"unlisted event", 0x44, {}, ""},
      {"unlisted reply", 0x55, {97, 0, 0, 0, 1, 2, 3, 4, 5}, ""},
  });
}

TEST(CabinetReplies, InformationAndOpenings) {
  ExpectTexts(kCabinet, {
      {"two boxes", 0x50, {97, 2, 6, 1, 0x21, 0x10}, Cab("combininfo", Array("info", "[1,2]"))},
      {"boxes out of order", 0x50, {97, 4, 6, 1, 0x13, 0x22, 0x11, 0x20},
       Cab("combininfo", Array("info", "[2,1,2,1]"))},
      {"a gap stays zero, a box named twice keeps the last", 0x50, {97, 3, 6, 1, 0x52, 0x10, 0x30},
       Cab("combininfo", Array("info", "[3,0,5]"))},
      {"advanced user by password", 0x51, {97, 0, 0, 0, 3, 2, 0x02, 0x01},
       Cab("advuseropen", Join(Num("box", 3, "string"), Str("operation", "Password"), Num("user", 258, "string")))},
      {"advanced user by card", 0x51, {97, 0, 0, 0, 1, 1, 7, 0},
       Cab("advuseropen", Join(Num("box", 1, "string"), Str("operation", "Card"), Num("user", 7, "string")))},
      {"first administrator", 0x51, {97, 0, 0, 0, 2, 3, 1}, AdminOpen(2, "Admin1")},
      {"second administrator", 0x51, {97, 0, 0, 0, 2, 3, 2}, AdminOpen(2, "Admin2")},
      {"other administrator", 0x51, {97, 0, 0, 0, 2, 3, 9}, AdminOpen(2, "")},
      {"by command", 0x51, {97, 0, 0, 0, 4, 4, 1}, AdminOpen(4, "Command")},
      {"unknown opening", 0x51, {97, 0, 0, 0, 3, 9, 1, 0}, ""},
      {"opening without kind", 0x51, {97, 0, 0, 0, 3}, ""},
      {"administrators", 0x52, {97, 8, 5, 1, 1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFF},
       Cab("admininfo", Array("info", "[67305985,4294967295]"))},
      {"box weight", 0x53, {97, 3, 1, 1, 2, 0x2C, 0x01}, Cab("boxweight", Join(Num("box", 2), Num("weight", 300)))},
      {"user opened", 0x54, {97, 5, 0, 0, 5, 4, 3, 2, 1},
       Cab("useropen", Join(Num("box", 5, "string"), El("card", "16909060", "array", "", "number")))},
  });
}

// Counts and offsets come from the device: none may reach past the payload
// or past the 16 boxes.
TEST(CabinetReplies, ShortPayloadsAndLargeCounts) {
  std::vector<std::uint8_t> twenty = {97, 20, 6, 1};
  for (std::uint8_t b = 0; b < 16; ++b) twenty.push_back(static_cast<std::uint8_t>(0x10 | b));
  for (std::uint8_t b = 0; b < 4; ++b) twenty.push_back(static_cast<std::uint8_t>(0xF0 | b));
  const std::string noValue = "\"info\":{\"precision\":0,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"\"}";
  ExpectTexts(kCabinet, {
      {"count above the boxes", 0x50, twenty, Cab("combininfo", Array("info", "[1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1]"))},
      {"count above the payload", 0x50, {97, 200, 6, 1, 0x21, 0x10}, Cab("combininfo", Array("info", "[1,2]"))},
      {"no box bytes", 0x50, {97, 3, 6, 1}, Cab("combininfo", noValue)},
      {"empty box list", 0x50, {}, Cab("combininfo", noValue)},
      {"administrators cut short", 0x52, {97, 8, 5, 1, 1}, Cab("admininfo", Array("info", "[1,0]"))},
      {"weight cut short", 0x53, {97, 3, 1, 1, 2, 0x2C}, Cab("boxweight", Join(Num("box", 2), Num("weight", 44)))},
      {"card cut short", 0x54, {97, 5, 0, 0, 5, 4},
       Cab("useropen", Join(Num("box", 5, "string"), El("card", "4", "array", "", "number")))},
      {"user cut short", 0x51, {97, 0, 0, 0, 3, 1, 0x09},
       Cab("advuseropen", Join(Num("box", 3, "string"), Str("operation", "Card"), Num("user", 9, "string")))},
  });
}

TEST(HealthReplies, MonitorReadings) {
  const std::vector<std::uint8_t> reading = {0, 0, 0, 0, 0x55, 0xAA, 0x02, 0x06, 0x00, 0x10,
                                             0xFF, 0xFF, 68, 15, 0x01, 0x2C, 0xFF};
  std::vector<std::uint8_t> reversed = reading;
  reversed[4] = 0xAA;
  reversed[5] = 0x55;
  std::vector<std::uint8_t> awake = reading;
  awake[16] = 0x7F;
  const auto data = [](int sleep) {
    return Message("HEALTHMON", "data",
                   Join(Num("movement", 1023), Num("movementavg", 300), Num("pulse", 70), Num("pulseavg", 68),
                        Num("respiration", 16), Num("respirationavg", 15), Num("sleeplevel", sleep)));
  };
  const std::string zeros =
      Message("HEALTHMON", "data",
              Join(Num("movement", 0), Num("movementavg", 0), Num("pulse", 0), Num("pulseavg", 0),
                   Num("respiration", 0), Num("respirationavg", 0), Num("sleeplevel", 0)));
  ExpectTexts(kMonitor, {
      // The pulse is the device's value (70), not its bytes exchanged (17920).
      {"reading", 0x50, reading, data(-1)},
      {"sleep level", 0x50, awake, data(127)},
      {"marks reversed", 0x50, reversed, ""},
      {"no marks", 0x50, {0, 0, 0, 0}, ""},
      {"marks only", 0x50, {0, 0, 0, 0, 0x55, 0xAA}, zeros},
      {"other function", 0x51, reading, ""},
      {"acknowledgement", 0x30, reading, ""},
  });
}

TEST(HealthReplies, BloodPressureMeter) {
  const auto result = [](const char* arrhythmia, int systolic, int diastolic, int rate) {
    return Message("SPHYGMOMETER", "result",
                   Join(Str("arrhythmia", arrhythmia), Num("diastolicpressure", diastolic, "string", "mmHg"),
                        Num("heartrate", rate, "string"), Num("systolicpressure", systolic, "string", "mmHg")));
  };
  const auto sample = [](long long pressure, const char* heartbreak) {
    return Message("SPHYGMOMETER", "data", Join(Str("heartbreak", heartbreak), Num("pressure", pressure, "string")));
  };
  ExpectTexts(kMeter, {
      {"powered on", 0x30, {}, Message("SPHYGMOMETER", "ack", Str("info", "PowerOn"))},
      {"started", 0x31, {0, 0, 0, 0}, Message("SPHYGMOMETER", "ack", Str("info", "Start"))},
      {"stopped", 0x32, {}, Message("SPHYGMOMETER", "ack", Str("info", "Stop"))},
      {"unlisted acknowledgement", 0x33, {}, ""},
      {"sample", 0x50, {0, 0, 0, 0, 0x01, 0x02, 1}, sample(258, "true")},
      {"largest sample", 0x50, {0, 0, 0, 0, 0xFF, 0xFF, 2}, sample(65535, "false")},
      {"sample cut short", 0x50, {0, 0, 0, 0, 0x01}, sample(256, "false")},
      {"result", 0x51, {0, 0, 0, 0, 120, 80, 72, 0}, result("true", 120, 80, 72)},
      {"regular result", 0x51, {0, 0, 0, 0, 135, 90, 200, 1}, result("false", 135, 90, 200)},
      {"empty result", 0x51, {}, result("true", 0, 0, 0)},
      {"unlisted", 0x40, {0, 0, 0, 0, 1, 2, 3, 4}, ""},
  });
}

// Every function byte a family decoder is given, with every payload length
// up to the longest any of them reads: a text that is whole, or none.
TEST(CabinetAndHealthReplies, AnyShortPayloadGivesAWholeTextOrNone) {
  std::vector<std::uint8_t> bytes = {97, 0xFF, 0x55, 0xAA, 0xFF, 0x02, 0xFF, 0xFF, 0x55, 0xAA,
                                     0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  for (std::uint8_t code : {kCabinet, kMonitor, kMeter})
    for (int fn = 16; fn <= 239; ++fn)
      for (std::size_t length = 0; length <= bytes.size(); ++length) {
        const std::vector<std::uint8_t> payload(bytes.begin(), bytes.begin() + static_cast<long>(length));
        const std::string text = RouteIotReply(Reply(code, static_cast<std::uint8_t>(fn), payload)).text;
        if (text.empty()) continue;
        EXPECT_EQ(text.rfind("{\"data\":{", 0), 0u) << int(code) << " " << fn << " " << length;
        EXPECT_NE(text.find(",\"version\":2}\n"), std::string::npos) << int(code) << " " << fn << " " << length;
      }
}
