// The stand-in's simulated laboratory devices given commands that a real
// device refuses or reports as errors.
#include <gtest/gtest.h>

#include <vector>

#include "tools/simulated_devices.h"

namespace {

std::vector<standin::DeviceFrame> Simulate(standin::DeviceState& state, std::uint8_t code, std::uint8_t fn,
                                           std::vector<std::uint8_t> payload) {
  std::vector<standin::DeviceFrame> replies;
  const standin::DeviceSimulator simulate = standin::SimulatorOf(code);
  EXPECT_NE(simulate, nullptr) << int(code);
  if (simulate) simulate(standin::DeviceFrame{3, 4, code, fn, std::move(payload)}, state, replies);
  return replies;
}

}  // namespace

TEST(LaboratoryDevices, CardPowerReportsBadSettingsAsErrors) {
  standin::DeviceState state{};
  // A card text shorter than its field: errcardinfo, the mode stays.
  auto replies = Simulate(state, 86, 18, {'A', 'B'});
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].functionByte, 0x32);
  ASSERT_EQ(replies[0].payload.size(), 15u);
  EXPECT_EQ(replies[0].payload[13], 0);
  EXPECT_EQ(replies[0].payload[14], 1);
  // Mode 2 with an hour of 24: errtime, the text is kept, the mode and times are not.
  replies = Simulate(state, 86, 19, {'X', 0, 0, 0, 0, 0, 1, 24, 0, 5, 18, 30, 3});
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].payload[7], 'X');
  EXPECT_EQ(replies[0].payload[13], 0);
  EXPECT_EQ(replies[0].payload[14], 2);
  replies = Simulate(state, 86, 21, {0, 0, 0, 0});
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].functionByte, 0x50);
  EXPECT_EQ(std::vector<std::uint8_t>(replies[0].payload.begin(), replies[0].payload.begin() + 6),
            std::vector<std::uint8_t>(6, 0));
  // A timing outside hour, day and week is a time error too.
  replies = Simulate(state, 86, 19, {'X', 0, 0, 0, 0, 0, 1, 8, 0, 5, 18, 30, 7});
  EXPECT_EQ(replies[0].payload[14], 2);
  replies = Simulate(state, 86, 19, {'X', 0, 0, 0, 0, 0, 1, 8, 0, 5, 18, 30, 4});
  EXPECT_EQ(replies[0].payload[13], 4);
  EXPECT_EQ(replies[0].payload[14], 0);
}

TEST(LaboratoryDevices, MalformedCommandsAreNotAnswered) {
  struct Case {
    const char* name;
    std::uint8_t code, fn;
    std::vector<std::uint8_t> payload;
  };
  const Case cases[] = {
      {"card power, function 0", 86, 0, {0, 0, 0, 0}},
      {"valve, function 0", 88, 0, {0, 0, 0, 0, 0}},
      {"cover, neither open nor close", 87, 48, {3}},
      {"cover, no value", 87, 48, {}},
      {"register write, other sub-header", 100, 16, {100, 5, 2, 1, 1, 0, 1, 1, 1}},
      {"register write, short", 100, 16, {100, 5, 1, 1, 1}},
      {"register read, other item", 100, 17, {100, 5, 1, 1, 0, 0, 0, 0, 0}},
      {"scanner, other function", 90, 18, {90, 0, 1, 1}},
      {"timed switch, other function", 93, 83, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    standin::DeviceState state{};
    EXPECT_TRUE(Simulate(state, c.code, c.fn, c.payload).empty()) << c.name;
  }
}
