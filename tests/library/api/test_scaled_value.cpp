#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "library/api/scaled_value.h"

TEST(ScaledValue, RoundsWithinTheFloatsErrorAndTruncatesOtherwise) {
  struct Case {
    float value;
    std::int64_t factor;
    std::int64_t expected;
  };
  const Case cases[] = {
      {25.37f, 10, 253}, {-0.05f, 10, 0},   {0.7f, 10, 7},      {30.0f, 10, 300}, {2.3f, 1000, 2300},
      {-2.3f, 1000, -2300}, {0.0f, 10, 0}, {99.99f, 10, 999},  {1.15f, 10, 11},
  };
  for (const auto& c : cases) {
    const auto scaled = ScaleFloat(c.value, c.factor, -100000, 100000);
    ASSERT_TRUE(scaled) << c.value;
    EXPECT_EQ(*scaled, c.expected) << c.value << " x " << c.factor;
  }
}

TEST(ScaledValue, ValuesOutsideTheRangeAreRefused) {
  EXPECT_FALSE(ScaleFloat(3e9f, 10, INT32_MIN, INT32_MAX));
  EXPECT_FALSE(ScaleFloat(-1.0f, 1000, 0, 99999999));
  EXPECT_FALSE(ScaleFloat(std::nanf(""), 10, -10, 10));
  EXPECT_FALSE(ScaleFloat(std::numeric_limits<float>::infinity(), 10, INT32_MIN, INT32_MAX));
  EXPECT_FALSE(ScaleFloat(99999.999f, 1000, 0, 99999999));  // the float is 100000.0
  EXPECT_EQ(ScaleFloat(99999.99f, 1000, 0, 99999999), 99999992);  // 99999.9921875
}
