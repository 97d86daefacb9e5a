// The notation of reals: "%#.16g" with the trailing-zero rule.
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "library/api/json_real.h"

namespace {

struct RealCase {
  double value;
  const char* text;
};

// Values as the decoders produce them: float arithmetic, then widened.
const RealCase kReferenceReals[] = {
    {253 / 10.0f, "25.29999923706055"},
    {601 / 10.0f, "60.09999847412109"},
    {2205 / 10.0f, "220.50"},
    {2095 * 0.01f, "20.94999885559082"},
    {static_cast<float>(std::atof("7.012")), "7.012000083923340"},
    {5.0f, "5.0"},
    {-1.5f, "-1.50"},
    {0.0f, "0.0"},
    {3 / 10.0f, "0.3000000119209290"},
    {23.5f, "23.50"},
    {20.0f, "20.0"},
    {1.5f, "1.50"},
    {0.1f, "0.1000000014901161"},
    {25.37f, "25.37000083923340"},
    {36.6f, "36.59999847412109"},
    {-0.05f, "-0.05000000074505806"},
    {3e-5f, "2.999999924213625e-05"},
    {1e20f, "1.000000020040877e+20"},
    {-0.0, "-0.0"},
    {1e16, "1.000000000000000e+16"},
    {1e-4, "0.00010"},
    {1e-5, "1.000000000000000e-05"},
    {1e100, "1.000000000000000e+100"},
    {123456789.0, "123456789.0"},
};

// What the C library writes in the "C" locale, with the same zero rule.
std::string PrintfReference(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%#.16g", value);
  std::string text = TrimJsonRealZeros(buffer);
  if (text.back() == '.') text += '0';
  return text;
}

}  // namespace

TEST(JsonReal, ReferenceValues) {
  for (const RealCase& c : kReferenceReals) EXPECT_EQ(FormatJsonReal(c.value), c.text) << c.text;
}

TEST(JsonReal, TrailingZeroRule) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"23.50000000000000", "23.50"},       // cut behind the last other digit, one zero kept
      {"20.00000000000000", "20.0"},        // back to the point: one zero
      {"0.3000000119209290", "0.3000000119209290"},  // one zero already
      {"25.29999923706055", "25.29999923706055"},    // no zero at the end
      {"1.000000020040877e+20", "1.000000020040877e+20"},  // exponent digits stay
      {"1.000000000000000e+100", "1.000000000000000e+100"},
      {"1500000000000000.", "1500000000000000."},  // nothing to cut
  };
  for (const auto& c : cases) EXPECT_EQ(TrimJsonRealZeros(c.in), c.out) << c.in;
}

TEST(JsonReal, SixteenDigitIntegersKeepAFraction) {
  // "%#.16g" ends such a value in its bare decimal point, which no JSON
  // reader takes as a number.
  EXPECT_EQ(FormatJsonReal(1e15), "1000000000000000.0");
  EXPECT_EQ(FormatJsonReal(1.5e15), "1500000000000000.0");
  EXPECT_EQ(FormatJsonReal(-9999999999999998.0), "-9999999999999998.0");
}

TEST(JsonReal, NonFiniteValuesAreNull) {
  EXPECT_EQ(FormatJsonReal(std::numeric_limits<double>::quiet_NaN()), "null");
  EXPECT_EQ(FormatJsonReal(std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(FormatJsonReal(-std::numeric_limits<double>::infinity()), "null");
}

TEST(JsonReal, MatchesTheCLibraryNotation) {
  ASSERT_STREQ(std::localeconv()->decimal_point, ".");
  std::mt19937_64 random(20240229);
  // Widened floats over their whole range, doubles from random bit patterns,
  // and the neighbours of every power of ten where the notation switches.
  for (int i = 0; i < 20000; ++i) {
    const auto bits = static_cast<std::uint32_t>(random());
    float f;
    std::memcpy(&f, &bits, sizeof f);
    if (!std::isfinite(f)) continue;
    ASSERT_EQ(FormatJsonReal(f), PrintfReference(f)) << bits;
  }
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d)) continue;
    ASSERT_EQ(FormatJsonReal(d), PrintfReference(d)) << bits;
  }
  for (int exponent = -8; exponent <= 20; ++exponent) {
    const double power = std::pow(10.0, exponent);
    for (const double d : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300), power * 0.99999999999999995,
                           power * 9.9999999999999995, -power}) {
      ASSERT_EQ(FormatJsonReal(d), PrintfReference(d)) << exponent;
    }
  }
}
