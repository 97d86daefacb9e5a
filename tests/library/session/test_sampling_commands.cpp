#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "library/api/commands_sampling.h"

namespace {

struct Case {
  const char* name;
  IotCommand command;
  std::uint8_t code, fn;
  std::vector<std::uint8_t> payload;
};

// Little-endian bytes of int32 values, after a head.
std::vector<std::uint8_t> Bytes(std::vector<std::uint8_t> head, std::initializer_list<std::int32_t> values) {
  for (const std::int32_t value : values)
    for (int shift = 0; shift < 32; shift += 8)
      head.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
  return head;
}

}  // namespace

TEST(SamplingCommands, CodesFunctionBytesAndPayloads) {
  const std::vector<std::uint8_t> none;
  const std::vector<Case> cases = {
      {"DAIS sampling", DaisSampling(), 60, 80, none},
      {"DAIS limits", *DaisSetLimit(1.5f, -2.5f, 3.0f, -4.0f), 60, 81, Bytes({4, 1, 0, 0}, {-25, 15, -40, 30})},
      {"DAIS start", DaisStartContinuousSampling(5000, 10), 60, 82, {0, 0, 0, 0, 0x88, 0x13, 0, 0, 0x0A, 0, 0, 0}},
      {"DAIS stop", DaisStopContinuousSampling(), 60, 83, none},
      {"DAIS query limit", DaisQueryLimit(), 60, 84, none},
      {"DAIS query range", DaisQueryRange(), 60, 85, none},
      {"DAIS zero", DaisZeroSetting(), 60, 86, none},
      {"DAIS query zero", DaisQueryZeroSetting(), 60, 87, none},
      {"THDC sampling", ThdcSampling(), 62, 80, none},
      {"THDC limits", *ThdcSetLimit(30.0f, 10.0f, 80.0f, 20.0f), 62, 81, Bytes({4, 1, 0, 0}, {100, 300, 200, 800})},
      {"THDC start", ThdcStartContinuousSampling(5000, 10), 62, 82, Bytes({2, 0, 0, 0}, {5000, 10})},
      {"THDC stop", ThdcStopContinuousSampling(), 62, 83, none},
      {"THDC query limit", ThdcQueryLimit(), 62, 84, none},
      {"THDC query range", ThdcQueryRange(), 62, 85, none},
      {"TDC sampling", TdcSampling(), 61, 80, none},
      {"TDC limits", *TdcSetLimit(30.0f, 10.0f), 61, 81, Bytes({2, 1, 0, 0}, {100, 300, 0, 0})},
      {"TDC start", TdcStartContinuousSampling(1000, 1), 61, 82, Bytes({2, 0, 0, 0}, {1000, 1})},
      {"TDC stop", TdcStopContinuousSampling(), 61, 83, none},
      {"TDC query limit", TdcQueryLimit(), 61, 84, none},
      {"TDC query range", TdcQueryRange(), 61, 85, none},
      {"IDC sampling", IdcSampling(), 63, 80, none},
      {"IDC limits", *IdcSetLimit(2000.0f, 0.5f), 63, 81, Bytes({2, 1, 0, 0}, {5, 20000, 0, 0})},
      {"IDC start", IdcStartContinuousSampling(2000, 3), 63, 82, Bytes({2, 0, 0, 0}, {2000, 3})},
      {"IDC stop", IdcStopContinuousSampling(), 63, 83, none},
      {"IDC query limit", IdcQueryLimit(), 63, 84, none},
      {"IDC query range", IdcQueryRange(), 63, 85, none},
      {"PH query", PhQuery(), 46, 48, {0, 0, 0, 0}},
      {"PH start", PhStart(3000, 5), 46, 49, Bytes({0, 0, 0, 0}, {3000, 5})},
      {"PH stop", PhStop(), 46, 50, {0, 0, 0, 0}},
      {"PH calibrate", PhCalibrate(), 46, 51, {0, 0, 0, 0}},
      {"CO2 query", Co2Query(), 47, 48, {0, 0, 1, 1}},
      {"CO2 start", Co2Start(1500, 20), 47, 49, Bytes({0, 0, 1, 2}, {1500, 20})},
      {"CO2 stop", Co2Stop(), 47, 50, {0, 0, 1, 3}},
      {"O2 query", O2Query(), 48, 48, {48, 0, 1, 1}},
      {"O2 start", O2Start(1500, 20), 48, 49, Bytes({0, 0, 1, 2}, {1500, 20})},
      {"O2 stop", O2Stop(), 48, 50, {0, 0, 1, 3}},
      // Periods and counts go out as given, even those a device would refuse.
      {"negative period", ThdcStartContinuousSampling(-1, 0), 62, 82, {2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}},
      {"largest count", O2Start(999, INT32_MAX), 48, 49, Bytes({0, 0, 1, 2}, {999, INT32_MAX})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.command.commandCode, c.code) << c.name;
    EXPECT_EQ(c.command.functionByte, c.fn) << c.name;
    EXPECT_EQ(c.command.payload, c.payload) << c.name;
    EXPECT_TRUE(c.command.record) << c.name;
  }
}

TEST(SamplingCommands, LimitsAreSentAsTenthsOfTheDecimalValue) {
  struct Scaling {
    float limit;
    std::int32_t tenths;
  };
  const Scaling cases[] = {
      {25.37f, 253}, {-0.05f, 0}, {0.7f, 7}, {30.0f, 300}, {-0.7f, -7}, {99.9f, 999}, {-12.3f, -123}, {0.0f, 0},
  };
  for (const auto& c : cases) {
    const auto command = TdcSetLimit(0.0f, c.limit);  // the second limit goes first
    ASSERT_TRUE(command) << c.limit;
    EXPECT_EQ(command->payload, Bytes({2, 1, 0, 0}, {c.tenths, 0, 0, 0})) << c.limit;
  }
}

TEST(SamplingCommands, LimitsWhoseTenthsDoNotFitAreRefused) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(TdcSetLimit(3e8f, 0.0f));
  EXPECT_FALSE(IdcSetLimit(0.0f, -3e8f));
  EXPECT_FALSE(DaisSetLimit(0.0f, 0.0f, 0.0f, nan));
  EXPECT_FALSE(ThdcSetLimit(0.0f, 0.0f, infinity, 0.0f));
  // The largest tenths that fit still go out.
  const auto largest = TdcSetLimit(2.0e8f, -2.0e8f);
  ASSERT_TRUE(largest);
  EXPECT_EQ(largest->payload, Bytes({2, 1, 0, 0}, {-2000000000, 2000000000, 0, 0}));
}
