// Texts and readers under a locale whose decimal point is a comma: the
// notation of reals never follows the locale.
#include <locale.h>

#include <array>
#include <clocale>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "comma_locale.h"
#include "library/api/json_message.h"
#include "library/api/json_real.h"
#include "sentrell.h"

namespace {

std::string PrintfTwoDecimals(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

void ExpectTextsIgnoreTheLocale() {
  ASSERT_EQ(PrintfTwoDecimals(23.5), "23,50") << "the comma locale is not in force";
  EXPECT_EQ(FormatJsonReal(23.5f), "23.50");
  EXPECT_EQ(FormatJsonReal(20.0f), "20.0");
  EXPECT_EQ(FormatJsonReal(253 / 10.0f), "25.29999923706055");
  EXPECT_EQ(FormatJsonReal(3 / 10.0f), "0.3000000119209290");
  EXPECT_EQ(FormatJsonReal(3e-5f), "2.999999924213625e-05");

  std::array<char, 4096> buffer{};
  BuildMessageHeader(buffer.data(), buffer.size(), 2, 7, 1, 5, "THDC", "singledata");
  SetDataElementFloat(buffer.data(), buffer.size(), "temperature", "\xE2\x84\x83", "number", "", 1, 23.5f);
  const float pair[] = {2205 / 10.0f, -1.5f};
  SetDataElementFloatArray(buffer.data(), buffer.size(), "humidity", "%RH", "array", "number", 1, pair, 2);
  const std::string text = buffer.data();
  EXPECT_EQ(text,
            "{\"data\":{\"humidity\":{\"precision\":1,\"subtype\":\"number\",\"type\":\"array\",\"unit\":\"%RH\","
            "\"value\":[220.50,-1.50]},\"temperature\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\","
            "\"unit\":\"\xE2\x84\x83\",\"value\":23.50}},\"devtype\":\"THDC\",\"msg\":\"singledata\",\"netid\":1,"
            "\"nodid\":5,\"nvsid\":7,\"version\":2}\n");

  EXPECT_EQ(CMPGetDataElementValueFloat(text.c_str(), "temperature"), 23.5f);
  std::array<float, 2> values{};
  ASSERT_EQ(CMPGetDataElementValueArrayFloat(text.c_str(), "humidity", values.data()), 2);
  EXPECT_EQ(values[0], 2205 / 10.0f);
  EXPECT_EQ(values[1], -1.5f);
}

}  // namespace

TEST(CommaLocale, ProcessLocaleIsIgnored) {
  const std::string name = CommaLocaleName();
  if (name.empty()) GTEST_SKIP() << "no locale with a decimal comma on this machine";
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, name.c_str()), nullptr);
  ExpectTextsIgnoreTheLocale();
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(CommaLocale, ThreadLocaleIsIgnored) {
  const std::string name = CommaLocaleName();
  if (name.empty()) GTEST_SKIP() << "no locale with a decimal comma on this machine";
  const locale_t comma = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(0));
  ASSERT_NE(comma, static_cast<locale_t>(0));
  const locale_t previous = uselocale(comma);
  ExpectTextsIgnoreTheLocale();
  uselocale(previous);
  freelocale(comma);
}
