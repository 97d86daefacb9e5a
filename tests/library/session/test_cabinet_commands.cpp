#include <vector>

#include <gtest/gtest.h>

#include "library/api/commands_cabinet.h"

// The password travels as three packed BCD bytes, the last two digits first;
// a value they cannot carry sends nothing rather than another password.
TEST(CabinetCommands, PasswordsTravelAsSixBcdDigits) {
  struct Case {
    int password;
    std::vector<std::uint8_t> bytes;  // empty: refused
  };
  const Case cases[] = {
      {123456, {0x56, 0x34, 0x12}}, {0, {0, 0, 0}},      {999999, {0x99, 0x99, 0x99}}, {7, {0x07, 0, 0}},
      {1000000, {}},                {1234567, {}},       {100000000, {}},               {-1, {}},
      {-2147483647 - 1, {}},
  };
  for (const auto& c : cases) {
    const auto command = CabmgzAddAdvUserToBox(3, 258, c.password, 16909060);
    if (c.bytes.empty()) {
      EXPECT_FALSE(command) << c.password;
      continue;
    }
    ASSERT_TRUE(command) << c.password;
    ASSERT_EQ(command->payload.size(), 14u);
    EXPECT_EQ(std::vector<std::uint8_t>(command->payload.begin() + 7, command->payload.begin() + 10), c.bytes)
        << c.password;
  }
}

TEST(CabinetCommands, ArgumentsAreCutToTheirFieldWidths) {
  const auto added = CabmgzAddAdvUserToBox(0x1FF, 0x12345, 1, -1);
  ASSERT_TRUE(added);
  EXPECT_EQ(added->payload,
            (std::vector<std::uint8_t>{97, 10, 3, 1, 0xFF, 0x45, 0x23, 0x01, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(CabmgzRemoveUserFromBox(-2, 0x7FFFFFFF).payload,
            (std::vector<std::uint8_t>{97, 0, 8, 1, 0xFE, 2, 0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_EQ(CabmgzRemoveAdvUserFromBox(256, -1).payload, (std::vector<std::uint8_t>{97, 3, 3, 2, 0, 0xFF, 0xFF}));
}
