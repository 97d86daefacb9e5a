// The program's reader over texts made by the library's own builders.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "demo/shell/cm_parser.h"
#include "library/api/json_message.h"

namespace {

constexpr std::size_t kBuffer = 4096;

struct Built {
  std::array<char, kBuffer> buffer{};
  std::string Text() const { return std::string(buffer.data()); }
};

Built Header(std::uint32_t nvsid, std::uint32_t netid, std::uint32_t nodid, const char* devtype, const char* msg) {
  Built built;
  EXPECT_EQ(BuildMessageHeader(built.buffer.data(), kBuffer, 2, nvsid, netid, nodid, devtype, msg), 0);
  return built;
}

TEST(CCMParserWithBuilders, LampStatusTextIsTheOneThePageTestsUse) {
  Built built = Header(7, 1, 5, "LAMP", "status");
  ASSERT_EQ(SetDataElement(built.buffer.data(), kBuffer, "status", "", "number", "", 0, 1), 0);
  EXPECT_EQ(built.Text(),
            "{\"data\":{\"status\":{\"precision\":0,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":1}},"
            "\"devtype\":\"LAMP\",\"msg\":\"status\",\"netid\":1,\"nodid\":5,\"nvsid\":7,\"version\":2}\n");
}

TEST(CCMParserWithBuilders, HeaderAndEveryValueKind) {
  Built built = Header(4096, 65535, 0, "THDC", "multidata");
  char* b = built.buffer.data();
  const std::array<float, 3> floats{23.45f, -0.5f, 20.0f};
  const std::array<std::int32_t, 3> ints{-7, 0, 2147483647};
  const std::array<std::uint32_t, 2> uints{4294967295u, 3u};
  ASSERT_EQ(SetDataElement(b, kBuffer, "count", "次", "number", "", 0, -5), 0);
  ASSERT_EQ(SetDataElementUInt(b, kBuffer, "card", "", "number", "id", 0, 4000000000u), 0);
  ASSERT_EQ(SetDataElementUInt64(b, kBuffer, "MeterID", "", "number", "", 0, 1234567890123456ull), 0);
  ASSERT_EQ(SetDataElementFloat(b, kBuffer, "temperature", "℃", "number", "", 2, 23.45f), 0);
  ASSERT_EQ(SetDataElementString(b, kBuffer, "state", "", "string", "run", 0, "采集中"), 0);
  ASSERT_EQ(SetDataElementFloatArray(b, kBuffer, "samples", "℃", "array", "", 1, floats.data(), floats.size()), 0);
  ASSERT_EQ(SetDataElementIntArray(b, kBuffer, "steps", "", "array", "", 0, ints.data(), ints.size()), 0);
  ASSERT_EQ(SetDataElementUIntArray(b, kBuffer, "ids", "", "array", "", 0, uints.data(), uints.size()), 0);
  const std::string text = built.Text();

  EXPECT_EQ(CCMParser::GetVersion(text), 2u);
  EXPECT_EQ(CCMParser::GetNvsID(text), 4096u);
  EXPECT_EQ(CCMParser::GetNetID(text), 65535u);
  EXPECT_EQ(CCMParser::GetNodID(text), 0u);
  EXPECT_EQ(CCMParser::GetDeviceType(text), "THDC");
  EXPECT_EQ(CCMParser::GetMessage(text), "multidata");

  EXPECT_EQ(CCMParser::GetDataElementValueInt(text, "count"), -5);
  EXPECT_EQ(CCMParser::GetDataElementUnit(text, "count"), "次");
  EXPECT_EQ(CCMParser::GetDataElementValueUInt(text, "card"), 4000000000u);
  EXPECT_EQ(CCMParser::GetDataElementSubType(text, "card"), "id");
  EXPECT_EQ(CCMParser::GetDataElementValueUInt64(text, "MeterID"), 1234567890123456ull);
  EXPECT_EQ(CCMParser::GetDataElementValueFloat(text, "temperature"), 23.45f);
  EXPECT_EQ(CCMParser::GetDataElementPrecision(text, "temperature"), 2);
  EXPECT_EQ(CCMParser::GetDataElementType(text, "temperature"), "number");
  EXPECT_EQ(CCMParser::GetDataElementValueString(text, "state"), "采集中");

  std::array<float, 16> readFloats{};
  ASSERT_EQ(CCMParser::GetDataElementValueArrayFloat(text, "samples", readFloats), 3);
  for (std::size_t i = 0; i < floats.size(); ++i) EXPECT_EQ(readFloats[i], floats[i]) << i;
  std::array<int, 16> readInts{};
  ASSERT_EQ(CCMParser::GetDataElementValueArrayInt(text, "steps", readInts), 3);
  for (std::size_t i = 0; i < ints.size(); ++i) EXPECT_EQ(readInts[i], ints[i]) << i;
  std::array<std::uint32_t, 16> readUInts{};
  ASSERT_EQ(CCMParser::GetDataElementValueArrayUInt(text, "ids", readUInts), 2);
  EXPECT_EQ(readUInts[0], 4294967295u);
  EXPECT_EQ(readUInts[1], 3u);
}

}  // namespace
