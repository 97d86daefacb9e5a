// The compact writer over JsonCpp's value tree.
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "library/api/json_writer.h"

TEST(JsonWriter, MembersInAscendingByteOrder) {
  Json::Value root(Json::objectValue);
  root["version"] = 2;
  root["nvsid"] = 7;
  root["data"] = Json::Value(Json::objectValue);
  root["ab"] = 1;
  root["a"] = 2;
  root["Z"] = 3;
  root["\xE2\x84\x83"] = 4;  // bytes of 0x80 and above sort after ASCII
  root["z"] = 5;
  EXPECT_EQ(WriteCompactJson(root), "{\"Z\":3,\"a\":2,\"ab\":1,\"data\":{},\"nvsid\":7,\"version\":2,\"z\":5,\"\xE2\x84\x83\":4}\n");
}

TEST(JsonWriter, ValuesOfEveryKind) {
  Json::Value root(Json::objectValue);
  root["n"] = Json::Value();
  root["t"] = true;
  root["f"] = false;
  root["i"] = -2147483647 - 1;
  root["u"] = Json::UInt(4294967295u);
  root["w"] = Json::UInt64(std::numeric_limits<std::uint64_t>::max());
  root["l"] = Json::Int64(std::numeric_limits<std::int64_t>::min());
  root["r"] = 23.5;
  root["a"][0] = 1;
  root["a"][1] = "x";
  root["a"][2] = Json::Value(Json::arrayValue);
  root["a"][3] = Json::Value(Json::objectValue);
  root["o"]["k"] = 0.0;
  EXPECT_EQ(WriteCompactJson(root),
            "{\"a\":[1,\"x\",[],{}],\"f\":false,\"i\":-2147483648,\"l\":-9223372036854775808,\"n\":null,"
            "\"o\":{\"k\":0.0},\"r\":23.50,\"t\":true,\"u\":4294967295,\"w\":18446744073709551615}\n");
}

TEST(JsonWriter, RootsOtherThanObjects) {
  EXPECT_EQ(WriteCompactJson(Json::Value(Json::objectValue)), "{}\n");
  EXPECT_EQ(WriteCompactJson(Json::Value(Json::arrayValue)), "[]\n");
  EXPECT_EQ(WriteCompactJson(Json::Value(5)), "5\n");
}

TEST(JsonWriter, StringEscapes) {
  const struct {
    std::string in;
    const char* out;
  } cases[] = {
      {"plain", "plain"},
      {"q\"b\\s/", "q\\\"b\\\\s/"},
      {"\b\f\n\r\t", "\\b\\f\\n\\r\\t"},
      {"\x01\x1F\x7F", "\\u0001\\u001F\x7F"},
      {std::string("a\0b", 3), "a\\u0000b"},
      {"\xC4\xE3\xBA\xC3", "\xC4\xE3\xBA\xC3"},  // bytes of 0x80 and above as they are
      {"25\xE2\x84\x83", "25\xE2\x84\x83"},
  };
  for (const auto& c : cases) {
    std::string content;
    AppendJsonStringContent(content, c.in);
    EXPECT_EQ(content, c.out);
    EXPECT_EQ(JsonStringContentLength(c.in), content.size());
    EXPECT_EQ(WriteCompactJson(Json::Value(c.in)), "\"" + std::string(c.out) + "\"\n");
  }
}

TEST(JsonWriter, MemberNamesAreEscapedToo) {
  Json::Value root(Json::objectValue);
  root["a\"\n"] = 1;
  EXPECT_EQ(WriteCompactJson(root), "{\"a\\\"\\n\":1}\n");
}
