// The exported readers of the message texts, over present, absent,
// wrongly typed and malformed texts.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/json_message.h"
#include "sentrell.h"

namespace {

// A node text as the library writes it.
std::string LibraryText() {
  std::array<char, 4096> buffer{};
  BuildMessageHeader(buffer.data(), buffer.size(), 2, 7, 1, 5, "LAMP", "status");
  SetDataElementString(buffer.data(), buffer.size(), "status", "", "string", "", 0, "on");
  SetDataElementFloat(buffer.data(), buffer.size(), "t", "\xE2\x84\x83", "number", "", 1, 253 / 10.0f);
  const float pair[] = {2205 / 10.0f, -1.5f};
  SetDataElementFloatArray(buffer.data(), buffer.size(), "range", "%RH", "array", "number", 2, pair, 2);
  SetDataElementMeta(buffer.data(), buffer.size(), "empty", "", "", "", 0);
  return buffer.data();
}

// A text with one element "e" whose member `member` holds `json`.
std::string ElementText(const std::string& member, const std::string& json) {
  return "{\"data\":{\"e\":{\"" + member + "\":" + json + "}}}";
}

const char* const kNotJson[] = {"", "abc", "{\"version\":", "[1]", "5", "\"text\""};

std::string DeepText() { return "{\"data\":{\"e\":{\"value\":" + std::string(2000, '[') + std::string(2000, ']') + "}}}"; }

}  // namespace

TEST(HeaderReaders, Numbers) {
  const std::string library = LibraryText();
  using Reader = uint32_t (*)(const char*);
  const struct {
    std::string text;
    Reader reader;
    uint32_t expected;
  } cases[] = {
      {library, CMPGetVersion, 2},
      {library, CMPGetNvsID, 7},
      {library, CMPGetNetID, 1},
      {library, CMPGetNodID, 5},
      {"{\"version\":-1}", CMPGetVersion, 0},
      {"{\"version\":\"2\"}", CMPGetVersion, 0},
      {"{\"version\":2.9}", CMPGetVersion, 2},
      {"{\"version\":-0.5}", CMPGetVersion, 0},
      {"{\"version\":true}", CMPGetVersion, 1},
      {"{\"version\":false}", CMPGetVersion, 0},
      {"{\"version\":null}", CMPGetVersion, 0},
      {"{\"version\":[2]}", CMPGetVersion, 0},
      {"{\"version\":{}}", CMPGetVersion, 0},
      {"{\"nvsid\":4294967295}", CMPGetNvsID, 4294967295u},
      {"{\"nvsid\":4294967296}", CMPGetNvsID, 0},
      {"{\"netid\":65535}", CMPGetNetID, 65535},
      {"{\"nodid\":0}", CMPGetNodID, 0},
      {"{\"netid\":1}", CMPGetNodID, 0},
      {"/* note */ {\"nodid\":9} // end", CMPGetNodID, 9},
      {"{\"nodid\":9} trailing", CMPGetNodID, 9},
  };
  for (const auto& c : cases) EXPECT_EQ(c.reader(c.text.c_str()), c.expected) << c.text;
  for (const Reader reader : {CMPGetVersion, CMPGetNvsID, CMPGetNetID, CMPGetNodID}) {
    EXPECT_EQ(reader(nullptr), 0u);
    for (const char* text : kNotJson) EXPECT_EQ(reader(text), 0u) << text;
  }
}

TEST(HeaderReaders, Texts) {
  const std::string library = LibraryText();
  using Reader = const char* (*)(const char*);
  const std::string word31(31, 'w');
  const std::string cutCharacter = std::string(30, 'w') + "\xE2\x84\x83";  // 33 bytes
  const struct {
    std::string text;
    Reader reader;
    const char* expected;  // nullptr: no text
  } cases[] = {
      {library, CMPGetDeviceType, "LAMP"},
      {library, CMPGetMessage, "status"},
      {"{\"devtype\":5}", CMPGetDeviceType, nullptr},
      {"{\"devtype\":null}", CMPGetDeviceType, nullptr},
      {"{\"msg\":[\"a\"]}", CMPGetMessage, nullptr},
      {"{\"devtype\":\"\"}", CMPGetDeviceType, ""},
      {"{\"devtype\":\"" + word31 + "\"}", CMPGetDeviceType, word31.c_str()},
      {"{\"msg\":\"" + word31 + "x\"}", CMPGetMessage, word31.c_str()},
      {"{\"msg\":\"" + cutCharacter + "\"}", CMPGetMessage, "wwwwwwwwwwwwwwwwwwwwwwwwwwwwww"},
      {"{\"devtype\":\"a\\u0000b\"}", CMPGetDeviceType, "a"},
  };
  for (const auto& c : cases) {
    const char* result = c.reader(c.text.c_str());
    if (c.expected == nullptr) {
      EXPECT_EQ(result, nullptr) << c.text;
    } else {
      ASSERT_NE(result, nullptr) << c.text;
      EXPECT_STREQ(result, c.expected) << c.text;
    }
  }
  for (const Reader reader : {CMPGetDeviceType, CMPGetMessage}) {
    EXPECT_EQ(reader(nullptr), nullptr);
    for (const char* text : kNotJson) EXPECT_EQ(reader(text), nullptr) << text;
  }
}

TEST(ElementReaders, Presence) {
  const std::string library = LibraryText();
  const struct {
    std::string text;
    const char* name;
    bool expected;
  } cases[] = {
      {library, "status", true},
      {library, "empty", true},  // all members empty
      {"{\"data\":{\"e\":{}}}", "e", true},
      {"{\"data\":{\"e\":5}}", "e", true},
      {library, "missing", false},
      {library, "", false},
      {library, nullptr, false},
      {"{\"data\":5}", "e", false},
      {"{\"data\":[{\"e\":1}]}", "e", false},
      {"{\"e\":{}}", "e", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDataElement(c.text.c_str(), c.name), c.expected) << c.text;
  EXPECT_FALSE(IsDataElement(nullptr, "e"));
  for (const char* text : kNotJson) EXPECT_FALSE(IsDataElement(text, "e")) << text;
}

TEST(ElementReaders, Words) {
  const std::string library = LibraryText();
  using Reader = const char* (*)(const char*, const char*);
  const char* const emptyText = CMPGetDataElementUnit(nullptr, "e");
  ASSERT_NE(emptyText, nullptr);
  EXPECT_STREQ(emptyText, "");
  const struct {
    std::string text;
    const char* name;
    Reader reader;
    const char* expected;  // nullptr: the shared empty text
  } cases[] = {
      {library, "t", CMPGetDataElementUnit, "\xE2\x84\x83"},
      {library, "t", CMPGetDataElementType, "number"},
      {library, "range", CMPGetDataElementSubType, "number"},
      {library, "range", CMPGetDataElementUnit, "%RH"},
      {library, "status", CMPGetDataElementSubType, ""},
      {library, "missing", CMPGetDataElementUnit, nullptr},
      {library, nullptr, CMPGetDataElementType, nullptr},
      {ElementText("unit", "5"), "e", CMPGetDataElementUnit, nullptr},
      {ElementText("type", "null"), "e", CMPGetDataElementType, nullptr},
      {ElementText("subtype", "{}"), "e", CMPGetDataElementSubType, nullptr},
      {ElementText("unit", "\"" + std::string(40, 'u') + "\""), "e", CMPGetDataElementUnit,
       "uuuuuuuuuuuuuuuuuuuuuuuuuuuuuuu"},
      {"{\"data\":5}", "e", CMPGetDataElementUnit, nullptr},
      {"{\"data\":{\"e\":\"unit\"}}", "e", CMPGetDataElementUnit, nullptr},
      {DeepText(), "e", CMPGetDataElementType, nullptr},
  };
  for (const auto& c : cases) {
    const char* result = c.reader(c.text.c_str(), c.name);
    if (c.expected == nullptr) {
      EXPECT_EQ(result, emptyText) << c.text;
    } else {
      ASSERT_NE(result, nullptr);
      EXPECT_STREQ(result, c.expected) << c.text;
    }
  }
  for (const Reader reader : {CMPGetDataElementUnit, CMPGetDataElementType, CMPGetDataElementSubType}) {
    for (const char* text : kNotJson) EXPECT_EQ(reader(text, "e"), emptyText) << text;
  }
}

TEST(ElementReaders, ResultBuffersAreReusedPerReader) {
  const std::string a = ElementText("unit", "\"first\"");
  const std::string b = ElementText("unit", "\"second\"");
  const char* first = CMPGetDataElementUnit(a.c_str(), "e");
  const char* type = CMPGetDataElementType(ElementText("type", "\"kind\"").c_str(), "e");
  const char* second = CMPGetDataElementUnit(b.c_str(), "e");
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "second");
  EXPECT_NE(type, first);
  EXPECT_STREQ(type, "kind");
}

TEST(ElementReaders, SignedNumbers) {
  using Reader = int (*)(const char*, const char*);
  const struct {
    std::string text;
    Reader reader;
    int expected;
  } cases[] = {
      {ElementText("precision", "3"), CMPGetDataElementPrecision, 3},
      {ElementText("precision", "-1"), CMPGetDataElementPrecision, -1},
      {ElementText("precision", "\"3\""), CMPGetDataElementPrecision, 0},
      {ElementText("value", "-2147483648"), CMPGetDataElementValueInt, -2147483647 - 1},
      {ElementText("value", "2147483648"), CMPGetDataElementValueInt, 0},
      {ElementText("value", "-2.9"), CMPGetDataElementValueInt, -2},
      {ElementText("value", "2.9"), CMPGetDataElementValueInt, 2},
      {ElementText("value", "true"), CMPGetDataElementValueInt, 1},
      {ElementText("value", "null"), CMPGetDataElementValueInt, 0},
      {ElementText("value", "[1]"), CMPGetDataElementValueInt, 0},
      {ElementText("unit", "4"), CMPGetDataElementValueInt, 0},
      {"{\"data\":{\"e\":7}}", CMPGetDataElementValueInt, 0},
      {DeepText(), CMPGetDataElementValueInt, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.reader(c.text.c_str(), "e"), c.expected) << c.text;
  for (const Reader reader : {CMPGetDataElementPrecision, CMPGetDataElementValueInt}) {
    EXPECT_EQ(reader(nullptr, "e"), 0);
    EXPECT_EQ(reader(ElementText("value", "1").c_str(), nullptr), 0);
    for (const char* text : kNotJson) EXPECT_EQ(reader(text, "e"), 0) << text;
  }
}

TEST(ElementReaders, UnsignedNumbers) {
  const struct {
    std::string json;
    uint32_t expected;
  } cases[] = {
      {"4294967295", 4294967295u}, {"4294967296", 0}, {"-1", 0},    {"2.9", 2},
      {"true", 1},                 {"\"5\"", 0},      {"{}", 0},    {"0", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CMPGetDataElementValueUInt(ElementText("value", c.json).c_str(), "e"), c.expected) << c.json;
  EXPECT_EQ(CMPGetDataElementValueUInt(nullptr, "e"), 0u);
  for (const char* text : kNotJson) EXPECT_EQ(CMPGetDataElementValueUInt(text, "e"), 0u) << text;
}

TEST(ElementReaders, Floats) {
  const std::string library = LibraryText();
  EXPECT_EQ(CMPGetDataElementValueFloat(library.c_str(), "t"), 253 / 10.0f);
  const struct {
    std::string json;
    float expected;
  } cases[] = {
      {"23.50", 23.5f}, {"5", 5.0f},     {"-7", -7.0f},     {"4294967295", 4294967295.0f},
      {"true", 1.0f},   {"false", 0.0f}, {"null", 0.0f},    {"\"1.5\"", 0.0f},
      {"[1.5]", 0.0f},  {"{}", 0.0f},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CMPGetDataElementValueFloat(ElementText("value", c.json).c_str(), "e"), c.expected) << c.json;
  EXPECT_EQ(CMPGetDataElementValueFloat(library.c_str(), "missing"), 0.0f);
  EXPECT_EQ(CMPGetDataElementValueFloat(nullptr, "e"), 0.0f);
  for (const char* text : kNotJson) EXPECT_EQ(CMPGetDataElementValueFloat(text, "e"), 0.0f) << text;
}

TEST(ElementReaders, ValueText) {
  const std::string library = LibraryText();
  // A fingerprint feature: 260 Base64 characters.
  const std::string feature(260, 'Q');
  const std::string longest(4096, 'v');
  const struct {
    std::string text;
    const char* name;
    const char* expected;  // nullptr: no text
  } cases[] = {
      {library, "status", "on"},
      {library, "t", nullptr},
      {library, "empty", nullptr},
      {library, "missing", nullptr},
      {library, nullptr, nullptr},
      {ElementText("value", "\"" + feature + "\""), "e", feature.c_str()},
      {ElementText("value", "\"" + longest + "\""), "e", longest.c_str()},
      {ElementText("value", "\"" + longest + "x\""), "e", longest.c_str()},
      {ElementText("value", "\"\xC4\xE3\xBA\xC3\""), "e", "\xC4\xE3\xBA\xC3"},
      {ElementText("value", "\"a\\\"b\\n\""), "e", "a\"b\n"},
      {ElementText("value", "5"), "e", nullptr},
      {"{\"data\":5}", "e", nullptr},
  };
  for (const auto& c : cases) {
    const char* result = CMPGetDataElementValueString(c.text.c_str(), c.name);
    if (c.expected == nullptr) {
      EXPECT_EQ(result, nullptr) << c.text.substr(0, 80);
    } else {
      ASSERT_NE(result, nullptr) << c.text.substr(0, 80);
      EXPECT_STREQ(result, c.expected) << c.text.substr(0, 80);
    }
  }
  EXPECT_EQ(CMPGetDataElementValueString(nullptr, "e"), nullptr);
  for (const char* text : kNotJson) EXPECT_EQ(CMPGetDataElementValueString(text, "e"), nullptr) << text;
}

TEST(ElementReaders, FloatArrays) {
  const std::string library = LibraryText();
  constexpr float kUntouched = -99.0f;
  const struct {
    std::string text;
    const char* name;
    std::vector<float> expected;  // the elements written; empty: nothing written
  } cases[] = {
      {library, "range", {2205 / 10.0f, -1.5f}},
      {ElementText("value", "[1,\"x\",2.5,true,null]"), "e", {1.0f, 0.0f, 2.5f, 1.0f, 0.0f}},
      {ElementText("value", "[[1],{},-3]"), "e", {0.0f, 0.0f, -3.0f}},
      {ElementText("value", "[]"), "e", {}},
      {ElementText("value", "7"), "e", {}},
      {ElementText("value", "\"1,2\""), "e", {}},
      {ElementText("unit", "[1]"), "e", {}},
      {library, "missing", {}},
      {library, nullptr, {}},
      {"{\"data\":5}", "e", {}},
      {DeepText(), "e", {}},
  };
  for (const auto& c : cases) {
    std::array<float, 8> out;
    out.fill(kUntouched);
    const int count = CMPGetDataElementValueArrayFloat(c.text.c_str(), c.name, out.data());
    ASSERT_EQ(count, static_cast<int>(c.expected.size())) << c.text.substr(0, 80);
    for (std::size_t i = 0; i < out.size(); ++i)
      EXPECT_EQ(out[i], i < c.expected.size() ? c.expected[i] : kUntouched) << c.text.substr(0, 80) << " " << i;
  }
  EXPECT_EQ(CMPGetDataElementValueArrayFloat(ElementText("value", "[1,2]").c_str(), "e", nullptr), 0);
  float one = kUntouched;
  EXPECT_EQ(CMPGetDataElementValueArrayFloat(nullptr, "e", &one), 0);
  for (const char* text : kNotJson) EXPECT_EQ(CMPGetDataElementValueArrayFloat(text, "e", &one), 0) << text;
  EXPECT_EQ(one, kUntouched);
}
