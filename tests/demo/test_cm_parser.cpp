// The program's reader of message texts, over texts in the library's exact
// notation (members in byte order, no blanks, one line feed at the end,
// reals in the writer's form) and over texts it does not expect.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "demo/shell/cm_parser.h"
#include "tests/demo/demo_fakes.h"

namespace {

std::string NodeText(const std::string& data, const std::string& header) {
  return "{\"data\":{" + data + "}," + header + "}\n";
}

const std::string kHeader = "\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2";

// The lamp's state reply as the library builds it.
const std::string kLampStatus =
    "{\"data\":{\"status\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":1}},"
    "\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n";

// A sampling reply with a real, an integer array and a text element.
const std::string kThdcData = NodeText(
    "\"humidity\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"%\",\"value\":20.0},"
    "\"samples\":{\"precision\":0,\"subtype\":\"\",\"type\":\"array\",\"unit\":\"\",\"value\":[1,-2,3]},"
    "\"state\":{\"precision\":0,\"subtype\":\"run\",\"type\":\"string\",\"unit\":\"\",\"value\":\"采集中\"},"
    "\"temperature\":{\"precision\":2,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"℃\",\"value\":23.50}",
    "\"devtype\":\"THDC\",\"msg\":\"singledata\",\"netid\":3,\"nodid\":4,\"nvsid\":4096,\"version\":2");

std::string WithValue(const std::string& value) {
  return NodeText("\"v\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":" + value + "}",
                  kHeader);
}

TEST(CCMParser, ReadsTheLibrarysTexts) {
  EXPECT_EQ(CCMParser::GetVersion(kLampStatus), 2u);
  EXPECT_EQ(CCMParser::GetNvsID(kLampStatus), 7u);
  EXPECT_EQ(CCMParser::GetNetID(kLampStatus), 1u);
  EXPECT_EQ(CCMParser::GetNodID(kLampStatus), 5u);
  EXPECT_EQ(CCMParser::GetDeviceType(kLampStatus), "LAMP");
  EXPECT_EQ(CCMParser::GetMessage(kLampStatus), "status");
  EXPECT_TRUE(CCMParser::IsDataElement(kLampStatus, "status"));
  EXPECT_FALSE(CCMParser::IsDataElement(kLampStatus, "Status"));
  EXPECT_EQ(CCMParser::GetDataElementValueInt(kLampStatus, "status"), 1);
  EXPECT_EQ(CCMParser::GetDataElementType(kLampStatus, "status"), "number");
  EXPECT_EQ(CCMParser::GetDataElementField(kLampStatus, "status", "value").asInt(), 1);
  EXPECT_TRUE(CCMParser::GetDataElement(kLampStatus, "status").isObject());
  EXPECT_TRUE(CCMParser::GetDataElement(kLampStatus, "other").isNull());

  EXPECT_EQ(CCMParser::GetNvsID(kThdcData), 4096u);
  EXPECT_FLOAT_EQ(CCMParser::GetDataElementValueFloat(kThdcData, "temperature"), 23.5f);
  EXPECT_FLOAT_EQ(CCMParser::GetDataElementValueFloat(kThdcData, "humidity"), 20.0f);
  EXPECT_EQ(CCMParser::GetDataElementValueInt(kThdcData, "humidity"), 20);
  EXPECT_EQ(CCMParser::GetDataElementPrecision(kThdcData, "temperature"), 2);
  EXPECT_EQ(CCMParser::GetDataElementUnit(kThdcData, "temperature"), "℃");
  EXPECT_EQ(CCMParser::GetDataElementSubType(kThdcData, "state"), "run");
  EXPECT_EQ(CCMParser::GetDataElementValueString(kThdcData, "state"), "采集中");
  EXPECT_EQ(CCMParser::GetDataElementValueString(kThdcData, "temperature"), std::nullopt);
}

TEST(CCMParser, HeaderNumbersByKind) {
  const std::vector<std::pair<std::string, std::uint32_t>> cases = {
      {"7", 7}, {"\"7\"", 0}, {"5.0", 5}, {"-1", 0}, {"true", 1}, {"null", 0}, {"4294967295", 4294967295u},
      {"4294967296", 0}, {"[7]", 0}, {"{\"a\":7}", 0},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(CCMParser::GetNvsID("{\"nvsid\":" + value + "}\n"), expected) << value;
  }
  EXPECT_EQ(CCMParser::GetNvsID("{\"netid\":7}\n"), 0u);
}

TEST(CCMParser, TextsOnlyFromJsonStrings) {
  EXPECT_EQ(CCMParser::GetMessage("{\"msg\":5}"), std::nullopt);
  EXPECT_EQ(CCMParser::GetMessage("{\"msg\":null}"), std::nullopt);
  EXPECT_EQ(CCMParser::GetMessage("{\"msg\":\"\"}"), "");
  EXPECT_EQ(CCMParser::GetDeviceType("{}"), std::nullopt);
  const std::string longType(40, 'T');
  EXPECT_EQ(CCMParser::GetDeviceType("{\"devtype\":\"" + longType + "\"}"), longType);

  const std::string noUnit = NodeText("\"v\":{\"type\":\"number\",\"value\":1}", kHeader);
  EXPECT_EQ(CCMParser::GetDataElementUnit(noUnit, "v"), "");
  EXPECT_EQ(CCMParser::GetDataElementSubType(noUnit, "v"), "");
  const std::string numericUnit = NodeText("\"v\":{\"unit\":5,\"type\":true,\"value\":1}", kHeader);
  EXPECT_EQ(CCMParser::GetDataElementUnit(numericUnit, "v"), "");
  EXPECT_EQ(CCMParser::GetDataElementType(numericUnit, "v"), "");
}

TEST(CCMParser, ValuesByKind) {
  struct Case {
    std::string value;
    int asInt;
    std::uint32_t asUInt;
    std::uint64_t asUInt64;
    float asFloat;
  };
  const std::vector<Case> cases = {
      {"1", 1, 1, 1, 1.0f},
      {"-5", -5, 0, 0, -5.0f},
      {"23.50", 23, 23, 23, 23.5f},
      {"\"12\"", 0, 0, 0, 0.0f},
      {"true", 1, 1, 1, 1.0f},
      {"null", 0, 0, 0, 0.0f},
      {"1234567890123", 0, 0, 1234567890123ull, 1234567890123.0f},
      {"4294967296", 0, 0, 4294967296ull, 4294967296.0f},
      {"18446744073709551615", 0, 0, 18446744073709551615ull, 18446744073709551615.0f},
      {"1e300", 0, 0, 0, INFINITY},
      {"[1]", 0, 0, 0, 0.0f},
  };
  for (const Case& c : cases) {
    const std::string text = WithValue(c.value);
    EXPECT_EQ(CCMParser::GetDataElementValueInt(text, "v"), c.asInt) << c.value;
    EXPECT_EQ(CCMParser::GetDataElementValueUInt(text, "v"), c.asUInt) << c.value;
    EXPECT_EQ(CCMParser::GetDataElementValueUInt64(text, "v"), c.asUInt64) << c.value;
    EXPECT_EQ(CCMParser::GetDataElementValueFloat(text, "v"), c.asFloat) << c.value;
  }
  const std::string precisionText =
      NodeText("\"v\":{\"precision\":\"2\",\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":1}", kHeader);
  EXPECT_EQ(CCMParser::GetDataElementPrecision(precisionText, "v"), 0);
}

TEST(CCMParser, ValueTextLengthLimit) {
  demotest::DebugCapture debug;
  const std::string base = NodeText("\"v\":{\"value\":\"ok\"}", kHeader);
  // Pad inside the text with JSON white space up to the limit and one past it.
  const std::string atLimit = std::string(CCMParser::kValueTextLimit - base.size(), ' ') + base;
  const std::string overLimit = " " + atLimit;
  ASSERT_EQ(atLimit.size(), 4096u);
  EXPECT_EQ(CCMParser::GetDataElementValueString(atLimit, "v"), "ok");
  EXPECT_TRUE(debug.Lines().empty());
  EXPECT_EQ(CCMParser::GetDataElementValueString(overLimit, "v"), std::nullopt);
  EXPECT_EQ(debug.Lines(), std::vector<std::string>{"CCMParser::GetDataElementValueString: Overflow!!!"});
  EXPECT_EQ(CCMParser::GetNvsID(overLimit), 7u);
  EXPECT_EQ(CCMParser::GetMessage(overLimit), "status");
}

TEST(CCMParser, ArraysFillAtMostTheCallersRoom) {
  constexpr int kSentinel = 777;
  std::array<int, 17> room{};
  room.fill(kSentinel);
  const std::span<int> sixteen(room.data(), 16);

  EXPECT_EQ(CCMParser::GetDataElementValueArrayInt(kThdcData, "samples", sixteen), 3);
  EXPECT_EQ(room[0], 1);
  EXPECT_EQ(room[1], -2);
  EXPECT_EQ(room[2], 3);
  EXPECT_EQ(room[3], kSentinel);

  room.fill(kSentinel);
  EXPECT_EQ(CCMParser::GetDataElementValueArrayInt(kThdcData, "temperature", sixteen), 0);
  EXPECT_EQ(CCMParser::GetDataElementValueArrayInt(WithValue("[]"), "v", sixteen), 0);
  EXPECT_EQ(CCMParser::GetDataElementValueArrayInt(WithValue("null"), "v", sixteen), 0);
  EXPECT_EQ(room[0], kSentinel);

  std::string twenty = "[";
  for (int i = 1; i <= 20; ++i) twenty += std::to_string(i) + (i < 20 ? "," : "]");
  EXPECT_EQ(CCMParser::GetDataElementValueArrayInt(WithValue(twenty), "v", sixteen), 16);
  EXPECT_EQ(room[15], 16);
  EXPECT_EQ(room[16], kSentinel);

  std::array<float, 4> floats{};
  EXPECT_EQ(CCMParser::GetDataElementValueArrayFloat(WithValue("[23.50,20.0,-1.25]"), "v", floats), 3);
  EXPECT_EQ(floats[0], 23.5f);
  EXPECT_EQ(floats[2], -1.25f);
  std::array<std::uint32_t, 4> unsignedItems{};
  EXPECT_EQ(CCMParser::GetDataElementValueArrayUInt(WithValue("[4294967295,0]"), "v", unsignedItems), 2);
  EXPECT_EQ(unsignedItems[0], 4294967295u);
}

TEST(CCMParser, ItemsOfAnotherKindReadAsZero) {
  const std::string text = WithValue("[\"a\",-1,1e20,{\"x\":1},[2]]");
  std::array<int, 8> ints{};
  std::array<std::uint32_t, 8> uints{};
  std::array<float, 8> floats{};
  ASSERT_EQ(CCMParser::GetDataElementValueArrayInt(text, "v", ints), 5);
  EXPECT_EQ((std::vector<int>(ints.begin(), ints.begin() + 5)), (std::vector<int>{0, -1, 0, 0, 0}));
  ASSERT_EQ(CCMParser::GetDataElementValueArrayUInt(text, "v", uints), 5);
  EXPECT_EQ((std::vector<std::uint32_t>(uints.begin(), uints.begin() + 5)),
            (std::vector<std::uint32_t>{0, 0, 0, 0, 0}));
  ASSERT_EQ(CCMParser::GetDataElementValueArrayFloat(text, "v", floats), 5);
  EXPECT_EQ((std::vector<float>(floats.begin(), floats.begin() + 5)),
            (std::vector<float>{0.0f, -1.0f, 1e20f, 0.0f, 0.0f}));
}

TEST(CCMParser, TextsOfUnexpectedShapeNeverThrow) {
  demotest::DebugCapture debug;
  const std::vector<std::string> texts = {
      "",
      "5",
      "[1,2]",
      "\"text\"",
      "not json",
      "{\"data\":5}",
      "{\"data\":[1]}",
      "{\"data\":{\"x\":5}}",
      "{\"data\":{\"x\":{\"value\":{\"y\":1}}}}",
      "{\"nvsid\":7",
      std::string(5000, '[') + std::string(5000, ']'),
      std::string("{\"msg\":\"a\0b\"}", 13),
  };
  for (const std::string& text : texts) {
    std::array<int, 4> ints{};
    std::array<std::uint32_t, 4> uints{};
    std::array<float, 4> floats{};
    EXPECT_NO_THROW({
      EXPECT_EQ(CCMParser::GetVersion(text), 0u);
      EXPECT_EQ(CCMParser::GetNvsID(text), 0u);
      EXPECT_EQ(CCMParser::GetDeviceType(text), std::nullopt);
      EXPECT_FALSE(CCMParser::IsDataElement(text, "y"));
      EXPECT_TRUE(CCMParser::GetDataElementField(text, "x", "value").isNull() ||
                  CCMParser::GetDataElementField(text, "x", "value").isObject());
      EXPECT_EQ(CCMParser::GetDataElementUnit(text, "x"), "");
      EXPECT_EQ(CCMParser::GetDataElementPrecision(text, "x"), 0);
      EXPECT_EQ(CCMParser::GetDataElementValueInt(text, "x"), 0);
      EXPECT_EQ(CCMParser::GetDataElementValueUInt64(text, "x"), 0u);
      EXPECT_EQ(CCMParser::GetDataElementValueFloat(text, "x"), 0.0f);
      EXPECT_EQ(CCMParser::GetDataElementValueString(text, "x"), std::nullopt);
      EXPECT_EQ(CCMParser::GetDataElementValueArrayInt(text, "x", ints), 0);
      EXPECT_EQ(CCMParser::GetDataElementValueArrayUInt(text, "x", uints), 0);
      EXPECT_EQ(CCMParser::GetDataElementValueArrayFloat(text, "x", floats), 0);
    }) << text.substr(0, 40);
  }
}

}  // namespace
