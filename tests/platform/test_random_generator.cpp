#include <gtest/gtest.h>

#include "platform/guid.h"
#include "platform/random_generator.h"

TEST(RandomGenerator, FollowsTheClassicSequenceWithinItsRange) {
  plat::RandomGenerator generator(1);
  // The well-known first values of this generator for seed 1.
  EXPECT_EQ(generator.Next(), 41);
  EXPECT_EQ(generator.Next(), 18467);
  EXPECT_EQ(generator.Next(), 6334);
  generator.Seed(12345);
  for (int i = 0; i < 10000; ++i) {
    const int v = generator.Next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
  }
}

TEST(Guid, TwoGuidsDiffer) { EXPECT_NE(plat::NewGuidBytes(), plat::NewGuidBytes()); }
