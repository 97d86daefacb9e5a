#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/ac_states_infrared.h"
#include "library/api/commands_infrared.h"

namespace {

constexpr std::time_t kCreated = 1700000000;

AcState Default() {
  const std::time_t t = kCreated;
  std::tm local{};
  localtime_r(&t, &local);
  return DefaultAcState(local.tm_hour, local.tm_min);
}

}  // namespace

TEST(InfraredCommands, KeysCarryKindKeyAndUnit) {
  struct Case {
    const char* name;
    std::optional<IotCommand> command;
    std::vector<std::uint8_t> payload;
  };
  const std::uint8_t state[8] = {21, 0, 1, 1, 0, 0, 9, 41};
  const std::uint8_t nine[9] = {};
  const Case cases[] = {
      {"television", HeaCtrl(kApplianceTv, 3, 9), {6, 9, 3, 0}},
      {"video recorder", HeaCtrl(kApplianceVcr, 1, 2), {1, 2, 1, 0}},
      {"low bytes", HeaCtrl(0x107, 0x1FF, 0x102), {7, 2, 0xFF, 0}},
      {"eight extra bytes", HeaCtrl(kApplianceAirConditioner, 1, 2, state),
       {5, 2, 1, 0, 21, 0, 1, 1, 0, 0, 9, 41}},
      {"air conditioner", HaAc(1, 2, AcState{21, 0, 1, 1, 0, 0, 9, 41}), {5, 2, 1, 0, 21, 0, 1, 1, 0, 0, 9, 41}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(c.command) << c.name;
    EXPECT_EQ(c.command->commandCode, 102) << c.name;
    EXPECT_EQ(c.command->functionByte, 102) << c.name;
    EXPECT_EQ(c.command->payload, c.payload) << c.name;
  }
  EXPECT_FALSE(HeaCtrl(kApplianceAirConditioner, 1, 2, nine));  // more than 8 extra bytes
  for (int kind : {1, 2, 3, 4, 5, 6, 7}) EXPECT_TRUE(IsApplianceKind(kind));
  for (int kind : {0, 8, -1, 0x101}) EXPECT_FALSE(IsApplianceKind(kind));
}

TEST(InfraredCommands, KeySequencesStepTheAirConditionersState) {
  struct Sequence {
    int key;
    std::size_t byte;  // the byte the key changes
    std::vector<std::uint8_t> values;  // after each press
  };
  const Sequence sequences[] = {
      {2, 0, {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 30}},
      {3, 0, {19, 18, 18}},
      {4, 1, {1, 2, 3, 0, 1}},
      {5, 2, {0, 1, 0}},
      {6, 3, {0, 1}},
      {1, 4, {1, 0, 1}},
      {7, 5, {1, 2, 3, 4, 0}},
  };
  const AcState initial = DefaultAcState(13, 47);
  EXPECT_EQ(initial, (AcState{20, 0, 1, 1, 0, 0, 13, 47}));
  for (const auto& s : sequences) {
    AcState state = initial;
    for (std::uint8_t value : s.values) {
      AcState expected = state;
      expected[s.byte] = value;
      ApplyAcKey(state, s.key);
      EXPECT_EQ(state, expected) << "key " << s.key;
    }
  }
  for (int key : {0, 8, 9, -1, 0x102}) {
    AcState state = initial;
    ApplyAcKey(state, key);
    EXPECT_EQ(state, initial) << key;
  }
}

TEST(AirConditionerStates, EveryUnitOfEveryNodeHasItsOwn) {
  AcStates states([] { return kCreated; });
  const AcUnit unit{1000001, 1, 2, 1};
  EXPECT_FALSE(states.Find(unit));
  AcState expected = Default();
  expected[0] = 21;
  EXPECT_EQ(states.Press(unit, 2), expected);
  // Another node, another gateway or another unit starts from the defaults.
  for (const AcUnit other : {AcUnit{1000001, 1, 3, 1}, AcUnit{1000001, 2, 2, 1}, AcUnit{2000002, 1, 2, 1},
                             AcUnit{1000001, 1, 2, 2}}) {
    AcState fresh = Default();
    fresh[4] = 1;
    EXPECT_EQ(states.Press(other, 1), fresh);
  }
  EXPECT_EQ(states.Find(unit), expected);
  // Ensure creates the defaults, and leaves an existing state alone.
  states.Ensure(unit);
  EXPECT_EQ(states.Find(unit), expected);
  const AcUnit created{1000001, 9, 9, 9};
  states.Ensure(created);
  EXPECT_EQ(states.Find(created), Default());
}

TEST(AirConditionerStates, KeysFromSeveralThreadsAreEachApplied) {
  AcStates states;
  const AcUnit unit{1, 1, 1, 1};
  constexpr int kThreads = 8, kPresses = 99;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kPresses; ++i) states.Press(unit, 7);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ((*states.Find(unit))[5], kThreads * kPresses % 5);
}
