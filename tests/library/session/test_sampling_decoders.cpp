#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "library/session/reply_routing.h"
#include "sentrell.h"

namespace {

using decodertest::Message;
using decodertest::Reply;

struct Case {
  const char* name;
  std::uint8_t code;
  std::uint8_t fn;
  std::vector<std::uint8_t> payload;
  std::string expected;  // "" for no message
};

// One element; `value` is the value's text, or empty for an element without one.
std::string El(const char* name, const char* unit, const char* type, const char* subtype, int precision,
               const std::string& value) {
  std::string text = std::string("\"") + name + "\":{\"precision\":" + std::to_string(precision) + ",\"subtype\":\"" +
                     subtype + "\",\"type\":\"" + type + "\",\"unit\":\"" + unit + "\"";
  if (!value.empty()) text += ",\"value\":" + value;
  return text + "}";
}

std::string Word(const char* name, const char* value, int precision = 0, const char* type = "string") {
  return El(name, "", type, "", precision, std::string("\"") + value + "\"");
}

std::string Join(std::initializer_list<std::string> parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ",") + part;
  return text;
}

// A payload: the four head bytes, then int32 values.
std::vector<std::uint8_t> Ints(std::vector<std::uint8_t> head, std::initializer_list<std::int32_t> values) {
  for (const std::int32_t value : values)
    for (int shift = 0; shift < 32; shift += 8)
      head.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
  return head;
}

// A payload: the four head bytes, then uint16 values.
std::vector<std::uint8_t> Words(std::vector<std::uint8_t> head, std::initializer_list<std::uint16_t> values) {
  for (const std::uint16_t value : values) {
    head.push_back(static_cast<std::uint8_t>(value & 0xFF));
    head.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  return head;
}

// A payload: the four head bytes, then text.
std::vector<std::uint8_t> Text(std::vector<std::uint8_t> head, const std::string& text) {
  head.insert(head.end(), text.begin(), text.end());
  return head;
}

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    const RoutedReply routed = RouteIotReply(Reply(c.code, c.fn, c.payload));
    EXPECT_EQ(routed.text, c.expected) << c.name;
    EXPECT_EQ(routed.notifyId, c.expected.empty() ? 0u : static_cast<unsigned>(NOTIFY_NODEMSG)) << c.name;
    EXPECT_TRUE(routed.deviceData) << c.name;
  }
}

const char* const kDegree = "°";
const char* const kCelsius = "℃";

}  // namespace

TEST(SamplingReplies, TwoChannelCollectors) {
  const std::string temperature = El("temperature", kCelsius, "number", "", 1, "25.29999923706055");
  const std::string humidity = El("humidity", "%RH", "number", "", 1, "60.09999847412109");
  const std::string humidityLimits = El("humidity", "%RH", "array", "", 1, "[80.0,20.0]");
  const std::string temperatureLimits = El("temperature", kCelsius, "array", "", 1, "[30.0,10.0]");
  const std::string limits = Join({humidityLimits, temperatureLimits});
  const std::vector<std::uint8_t> limitPayload = Ints({4, 1, 0, 0}, {100, 300, 200, 800});
  const std::vector<Case> cases = {
      {"single", 62, 0x50, Ints({0, 1, 0, 0}, {253, 601}),
       Message("THDC", "singledata", Join({humidity, temperature}))},
      {"zero set", 62, 0x56, Ints({0, 1, 0, 0}, {253, 601}), Message("THDC", "zero", Join({humidity, temperature}))},
      {"zero query", 62, 0x57, Ints({0, 1, 0, 0}, {253, 601}), Message("THDC", "zero", Join({humidity, temperature}))},
      {"alarm", 62, 0x5F, Ints({0, 1, 0, 0}, {253, 601}),
       Message("THDC", "alarm", Join({Word("alarmtype", "OutOfLimit", 1), humidity, temperature}))},
      // The result word is typed "number" on the two-channel collectors.
      {"limit set", 62, 0x51, limitPayload,
       Message("THDC", "setlimit", Join({humidityLimits, Word("result", "success", 0, "number"), temperatureLimits}))},
      {"limit refused", 62, 0x51, Ints({4, 1, 7, 0}, {100, 300, 200, 800}),
       Message("THDC", "setlimit", Join({humidityLimits, Word("result", "failure", 0, "number"), temperatureLimits}))},
      {"limit query", 62, 0x54, limitPayload, Message("THDC", "querylimit", limits)},
      {"range query", 62, 0x55, limitPayload, Message("THDC", "queryrange", limits)},
      {"start", 62, 0x52, Ints({0, 1, 0, 0}, {5000, 10}),
       Message("THDC", "multidatastart",
               Join({El("count", "", "number", "", 1, "10"), El("period", "", "number", "", 1, "5000"),
                     Word("result", "success", 1)}))},
      {"start refused", 62, 0x52, Ints({0, 0, 1, 0}, {5000, 10}),
       Message("THDC", "multidatastart",
               Join({El("count", "", "number", "", 0, "10"), El("period", "", "number", "", 0, "5000"),
                     Word("result", "failure")}))},
      {"stop", 62, 0x53, {0, 1, 0, 0}, Message("THDC", "status", Word("info", "multidatastop", 1))},
      // Negative readings, precision 2.
      {"inclination", 60, 0x50, Ints({0, 2, 0, 0}, {-125, 3}),
       Message("DAIS", "singledata",
               Join({El("x", kDegree, "number", "", 2, "-1.250"),
                     El("y", kDegree, "number", "", 2, "0.02999999932944775")}))},
      {"inclination limits", 60, 0x51, Ints({4, 0, 0, 0}, {-30, 30, -40, 40}),
       Message("DAIS", "setlimit",
               Join({Word("result", "success", 0, "number"), El("x", kDegree, "array", "", 0, "[30.0,-30.0]"),
                     El("y", kDegree, "array", "", 0, "[40.0,-40.0]")}))},
      // Six raw values are three samples of both axes.
      {"block", 60, 0x5A, Ints({6, 0, 0, 0}, {1, -1, 2, -2, 3, -3}),
       Message("DAIS", "multidata",
               Join({El("x", kDegree, "array", "", 0, "[1.0,2.0,3.0]"),
                     El("y", kDegree, "array", "", 0, "[-1.0,-2.0,-3.0]")}))},
      {"odd count", 60, 0x5A, Ints({5, 0, 0, 0}, {1, -1, 2, -2, 3, -3}),
       Message("DAIS", "multidata",
               Join({El("x", kDegree, "array", "", 0, "[1.0,2.0]"), El("y", kDegree, "array", "", 0, "[-1.0,-2.0]")}))},
      {"unlisted", 62, 0x58, Ints({0, 1, 0, 0}, {253, 601}), ""},
      {"command echo", 60, 0x10, {}, ""},
  };
  Check(cases);
}

TEST(SamplingReplies, OneChannelCollectors) {
  const std::vector<Case> cases = {
      {"single", 61, 0x50, Ints({0, 1, 0, 0}, {253}),
       Message("TDC", "singledata", El("temperature", kCelsius, "number", "", 1, "25.29999923706055"))},
      {"illuminance", 63, 0x50, Ints({0, 0, 0, 0}, {3500}),
       Message("IDC", "singledata", El("illuminance", "lux", "number", "", 0, "3500.0"))},
      {"alarm", 63, 0x5F, Ints({0, 0, 0, 0}, {3500}),
       Message("IDC", "alarm",
               Join({Word("alarmtype", "OutOfLimit"), El("illuminance", "lux", "number", "", 0, "3500.0")}))},
      // Any result but 0 is a failure here, and the word is typed "string".
      {"limit refused", 61, 0x51, Ints({2, 1, 3, 0}, {100, 300, 0, 0}),
       Message("TDC", "setlimit",
               Join({Word("result", "failure"), El("temperature", kCelsius, "array", "", 1, "[30.0,10.0]")}))},
      {"limit set", 63, 0x51, Ints({2, 1, 0, 0}, {5, 20000}),
       Message("IDC", "setlimit",
               Join({El("illuminance", "lux", "array", "", 1, "[2000.0,0.50]"), Word("result", "success")}))},
      {"limit query", 61, 0x54, Ints({2, 1, 0, 0}, {100, 300}),
       Message("TDC", "querylimit", El("temperature", kCelsius, "array", "", 1, "[30.0,10.0]"))},
      {"range query", 61, 0x55, Ints({2, 1, 0, 0}, {-400, 1250}),
       Message("TDC", "queryrange", El("temperature", kCelsius, "array", "", 1, "[125.0,-40.0]"))},
      // A start result other than 0 or 1 has no word.
      {"start unknown", 61, 0x52, Ints({0, 1, 3, 0}, {1000, 2}),
       Message("TDC", "multidatastart",
               Join({El("count", "", "number", "", 1, "2"), El("period", "", "number", "", 1, "1000"),
                     Word("result", "", 1)}))},
      {"block", 61, 0x5A, Ints({3, 1, 0, 0}, {253, 254, -5}),
       Message("TDC", "multidata",
               El("temperature", kCelsius, "array", "", 1, "[25.29999923706055,25.39999961853027,-0.50]"))},
      {"stop", 63, 0x53, {0, 0, 0, 0}, Message("IDC", "status", Word("info", "multidatastop"))},
      // Zero points belong to the two-channel collectors.
      {"no zero", 61, 0x56, Ints({0, 1, 0, 0}, {253}), ""},
      {"no zero query", 63, 0x57, Ints({0, 1, 0, 0}, {253}), ""},
  };
  Check(cases);
}

TEST(SamplingReplies, PhAnalyser) {
  auto single = [](const char* value) { return Message("PH", "singledata", El("value", "", "number", "", 3, value)); };
  const std::vector<Case> cases = {
      {"query ack", 46, 0x30, {0, 0, 0, 0}, Message("PH", "ack", Word("info", "query"))},
      {"start ack", 46, 0x31, {}, Message("PH", "ack", Word("info", "start"))},
      {"stop ack", 46, 0x32, {}, Message("PH", "ack", Word("info", "stop"))},
      {"calibrate ack", 46, 0x33, {}, Message("PH", "ack", Word("info", "calibrate"))},
      {"unlisted ack", 46, 0x34, {}, ""},
      {"reading", 46, 0x50, Text({0, 0, 0, 0}, "7.012"), single("7.012000083923340")},
      {"blank and plus", 46, 0x50, Text({0, 0, 0, 0}, " +6.5"), single("6.50")},
      {"exponent", 46, 0x50, Text({0, 0, 0, 0}, "-1e3x"), single("-1000.0")},
      {"ends at NUL", 46, 0x50,
       Text({0, 0, 0, 0}, std::string("7\0"
                                      "99",
                                      4)),
       single("7.0")},
      {"only five characters", 46, 0x50, Text({0, 0, 0, 0}, "6.54321"), single("6.543000221252441")},
      {"not a number", 46, 0x50, Text({0, 0, 0, 0}, "abcde"), single("0.0")},
      {"two signs", 46, 0x50, Text({0, 0, 0, 0}, "+-5.0"), single("0.0")},
      {"no finite float", 46, 0x50, Text({0, 0, 0, 0}, "9e99"), single("0.0")},
      {"infinity", 46, 0x50, Text({0, 0, 0, 0}, "inf"), single("0.0")},
      {"cut short", 46, 0x50, Text({0, 0, 0, 0}, "8."), single("8.0")},
      {"block", 46, 0x51, Text({0, 0, 3, 0}, "7.0107.0207.030"),
       Message("PH", "multidata",
               El("value", "", "array", "number", 2, "[7.010000228881836,7.019999980926514,7.030000209808350]"))},
      {"empty block", 46, 0x51, {0, 0, 0, 0}, Message("PH", "multidata", El("value", "", "array", "number", 2, ""))},
      {"unlisted", 46, 0x52, Text({0, 0, 0, 0}, "7.012"), ""},
  };
  Check(cases);
}

TEST(SamplingReplies, GasAnalysers) {
  const std::vector<Case> cases = {
      {"CO2 query ack", 47, 0x30, {0, 0, 1, 1}, Message("CO2", "ack", Word("ack", "query"))},
      {"CO2 start ack", 47, 0x31, {}, Message("CO2", "ack", Word("ack", "start"))},
      {"O2 stop ack", 48, 0x32, {}, Message("O2", "ack", Word("ack", "stop"))},
      {"no calibration", 48, 0x33, {}, ""},
      {"CO2 reading", 47, 0x50, Words({0, 0, 0, 0}, {415}),
       Message("CO2", "singledata", El("value", "ppm", "number", "", 0, "415"))},
      {"CO2 largest", 47, 0x50, Words({0, 0, 0, 0}, {65535}),
       Message("CO2", "singledata", El("value", "ppm", "number", "", 0, "65535"))},
      {"O2 reading", 48, 0x50, Words({0, 0, 0, 0}, {2095}),
       Message("O2", "singledata", El("value", "%", "number", "", 2, "20.94999885559082"))},
      {"CO2 block", 47, 0x51, Words({0, 0, 3, 0}, {400, 410, 420}),
       Message("CO2", "multidata", El("value", "ppm", "array", "number", 0, "[400,410,420]"))},
      {"O2 block", 48, 0x51, Words({0, 0, 2, 0}, {2095, 100}),
       Message("O2", "multidata", El("value", "%", "array", "number", 2, "[20.94999885559082,1.0]"))},
      {"unlisted", 47, 0x52, Words({0, 0, 1, 0}, {400}), ""},
  };
  Check(cases);
}

// Counts from the device that the payload or the block cannot hold are cut
// to the readings that are there; short payloads read as zeros.
TEST(SamplingReplies, BadInputFromTheDevice) {
  std::vector<std::uint8_t> fullPh = {0, 0, 20, 0};
  for (int i = 0; i < 47; ++i) fullPh.insert(fullPh.end(), {'1', '.', '0', '0', '0'});
  std::vector<std::uint8_t> fullCo2 = {0, 0, 60, 0};
  for (int i = 0; i < 119; ++i) fullCo2.insert(fullCo2.end(), {7, 0});
  std::vector<std::uint8_t> fullTdc = {200, 0, 0, 0};
  for (int i = 0; i < 59; ++i) fullTdc.insert(fullTdc.end(), {1, 0, 0, 0});
  std::vector<std::uint8_t> fullDais = {255, 0, 0, 0};
  for (int i = 0; i < 59; ++i) fullDais.insert(fullDais.end(), {2, 0, 0, 0});
  auto repeat = [](const char* value, int count) {
    std::string text = "[";
    for (int i = 0; i < count; ++i) text += std::string(i ? "," : "") + value;
    return text + "]";
  };
  const std::vector<Case> cases = {
      {"pairs past the payload", 60, 0x5A, Ints({200, 0, 0, 0}, {1, -1, 2, -2, 3}),
       Message("DAIS", "multidata",
               Join({El("x", kDegree, "array", "", 0, "[1.0,2.0]"), El("y", kDegree, "array", "", 0, "[-1.0,-2.0]")}))},
      {"pairs in a full payload", 60, 0x5A, fullDais,
       Message("DAIS", "multidata",
               Join({El("x", kDegree, "array", "", 0, repeat("2.0", 29)),
                     El("y", kDegree, "array", "", 0, repeat("2.0", 29))}))},
      {"values past the payload", 63, 0x5A, Ints({9, 0, 0, 0}, {1, 2}),
       Message("IDC", "multidata", El("illuminance", "lux", "array", "", 0, "[1.0,2.0]"))},
      {"values in a full payload", 61, 0x5A, fullTdc,
       Message("TDC", "multidata", El("temperature", kCelsius, "array", "", 0, repeat("1.0", 59)))},
      {"no whole value",
       61,
       0x5A,
       {5, 0, 0, 0, 1, 0, 0},
       Message("TDC", "multidata", El("temperature", kCelsius, "array", "", 0, ""))},
      {"block without head",
       62,
       0x5A,
       {4},
       Message("THDC", "multidata",
               Join({El("humidity", "%RH", "array", "", 0, ""), El("temperature", kCelsius, "array", "", 0, "")}))},
      {"texts past the payload", 46, 0x51, Text({0, 0, 9, 0}, "7.0107.0"),
       Message("PH", "multidata", El("value", "", "array", "number", 2, "[7.010000228881836]"))},
      {"more texts than a block holds", 46, 0x51, fullPh,
       Message("PH", "multidata", El("value", "", "array", "number", 2, repeat("1.0", 10)))},
      {"more values than a block holds", 47, 0x51, fullCo2,
       Message("CO2", "multidata", El("value", "ppm", "array", "number", 0, repeat("7", 50)))},
      {"odd byte at the end",
       48,
       0x51,
       {0, 0, 3, 0, 100, 0, 200},
       Message("O2", "multidata", El("value", "%", "array", "number", 2, "[1.0]"))},
      {"empty single",
       62,
       0x50,
       {},
       Message(
           "THDC", "singledata",
           Join({El("humidity", "%RH", "number", "", 0, "0.0"), El("temperature", kCelsius, "number", "", 0, "0.0")}))},
      {"short limits",
       61,
       0x54,
       {2, 1, 0, 0, 100},
       Message("TDC", "querylimit", El("temperature", kCelsius, "array", "", 1, "[0.0,10.0]"))},
      {"short gas reading",
       48,
       0x50,
       {0, 0, 0, 0, 7},
       Message("O2", "singledata", El("value", "%", "number", "", 2, "0.07000000029802322"))},
      {"empty text", 46, 0x50, {0, 0}, Message("PH", "singledata", El("value", "", "number", "", 3, "0.0"))},
      // A precision beyond the float's range divides by infinity.
      {"huge precision", 63, 0x50, Ints({0, 200, 0, 0}, {3500}),
       Message("IDC", "singledata", El("illuminance", "lux", "number", "", 200, "0.0"))},
  };
  Check(cases);
}
