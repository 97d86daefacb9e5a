#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/commands_meters.h"
#include "meter_blocks.h"

namespace {

using namespace metertest;


struct Case {
  const char* name;
  std::optional<IotCommand> command;
  std::uint8_t code, fn;
  Bytes payload;
};

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    ASSERT_TRUE(c.command) << c.name;
    EXPECT_EQ(c.command->commandCode, c.code) << c.name;
    EXPECT_EQ(c.command->functionByte, c.fn) << c.name;
    EXPECT_EQ(c.command->payload, c.payload) << c.name;
    EXPECT_TRUE(c.command->record) << c.name;
  }
}


std::optional<IotCommand> Date(const char* text) { return PowerMeterCtrlSetDate(kLow, kHigh, kCode1, kCode2, text); }
std::optional<IotCommand> Time(const char* text) { return PowerMeterCtrlSetTime(kLow, kHigh, kCode1, kCode2, text); }
std::optional<IotCommand> Current(float a) { return PowerMeterCtrlSetMaximumCurrent(kLow, kHigh, kCode1, kCode2, a); }
std::optional<IotCommand> TopUp(float a) {
  return PowerMeterCtrlAddAvailableEnergyAmount(kLow, kHigh, kCode1, kCode2, a);
}

}  // namespace

TEST(MeterCommands, ElectricityMeterFrames) {
  Check({
      {"init", PowerMeterCtrlInit(), 95, 48, {0, 0, 0, 0}},
      {"date", Date("2026-12-09"), 95, 49, Block(0, {0x03, 0x09, 0x12, 0x26})},  // a Wednesday
      {"date, year modulo 100", Date("1999-2-28"), 95, 49, Block(0, {0x07, 0x28, 0x02, 0x99})},
      {"date, blanks before numbers", Date(" 2026- 12-\t9"), 95, 49, Block(0, {0x03, 0x09, 0x12, 0x26})},
      {"date, missing day", Date("2026-12"), 95, 49, Block(0, {0x01, 0x00, 0x12, 0x26})},
      {"date, day too long for int", Date("2026-12-99999999999"), 95, 49, Block(0, {0x01, 0x00, 0x12, 0x26})},
      {"date, day 300 is its low byte 44", Date("2026-12-300"), 95, 49, Block(0, {0x07, 0x44, 0x12, 0x26})},
      {"date, day 200 has no BCD", Date("2026-12-200"), 95, 49, Block(0, {0x05, 0xFF, 0x12, 0x26})},
      {"time", Time("10:20:30"), 95, 50, Block(0, {0x30, 0x20, 0x10, 0x00})},
      {"time, missing seconds", Time("23:59"), 95, 50, Block(0, {0x00, 0x59, 0x23, 0x00})},
      {"time, second 100", Time("7:5:100"), 95, 50, Block(0, {0xFF, 0x05, 0x07, 0x00})},
      {"time, blank before separator ends reading", Time("7 :5:1"), 95, 50, Block(0, {0x00, 0x00, 0x07, 0x00})},
      {"account day", PowerMeterCtrlSetAccountDay(kLow, kHigh, kCode1, kCode2, 1, 0), 95, 51,
       Block(0, {0x00, 0x01, 0, 0})},
      {"account day 31 and hour 25", PowerMeterCtrlSetAccountDay(kLow, kHigh, kCode1, kCode2, 31, 25), 95, 51,
       Block(0, {0x01, 0x00, 0, 0})},
      {"account day 15 12h", PowerMeterCtrlSetAccountDay(kLow, kHigh, kCode1, kCode2, 15, 12), 95, 51,
       Block(0, {0x12, 0x15, 0, 0})},
      {"account day negative", PowerMeterCtrlSetAccountDay(kLow, kHigh, kCode1, kCode2, -1, -1), 95, 51,
       Block(0, {0xFF, 0xFF, 0, 0})},
      {"clear", PowerMeterCtrlClearAvailableEngeryAmount(), 95, 54, {0, 0, 0, 0}},
      {"current 5.5", Current(5.5f), 95, 55, Block(3, {0x00, 0x55, 0x00, 0x00})},
      {"current 2.3 is 2300", Current(2.3f), 95, 55, Block(3, {0x00, 0x23, 0x00, 0x00})},
      {"current 0", Current(0.0f), 95, 55, Block(3, {0, 0, 0, 0})},
      {"top-up", TopUp(12345.678f), 95, 57, Block(3, {0x78, 0x56, 0x34, 0x12})},
      {"top-up, largest", TopUp(99999.99f), 95, 57, Block(3, {0x92, 0x99, 0x99, 0x99})},
      {"relay on", PowerMeterCtrlRelayOn(), 95, 59, {0, 0, 0, 0}},
      {"relay off", PowerMeterCtrlRelayOff(), 95, 60, {0, 0, 0, 0}},
      {"query data", PowerMeterCtrlQueryData(), 95, 94, {0, 0, 0, 0}},
  });
}

TEST(MeterCommands, AddressesAreSixteenBcdDigits) {
  auto block = [](Bytes address) {
    Bytes b = {0, 0, 0, 0};
    b.insert(b.end(), address.begin(), address.end());
    return b;
  };
  Check({
      {"high half", WaterMeterCtrlValveTest(0, 1), 65, 49, block({0x96, 0x72, 0x96, 0x94, 0x42, 0, 0, 0})},
      {"largest", WaterMeterCtrlValveTest(0x6FC0FFFF, 0x002386F2), 65, 49,
       block({0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99})},
      {"zero", WaterMeterCtrlValveTest(0, 0), 65, 49, block({0, 0, 0, 0, 0, 0, 0, 0})},
  });
  // 10^16 has 17 digits: every addressed command refuses it.
  constexpr std::uint32_t low = 0x6FC10000, high = 0x002386F2;
  const std::vector<std::pair<const char*, std::optional<IotCommand>>> refused = {
      {"date", PowerMeterCtrlSetDate(low, high, 0, 0, "2026-1-1")},
      {"time", PowerMeterCtrlSetTime(low, high, 0, 0, "1:1:1")},
      {"account day", PowerMeterCtrlSetAccountDay(low, high, 0, 0, 1, 1)},
      {"current", PowerMeterCtrlSetMaximumCurrent(low, high, 0, 0, 1.0f)},
      {"top-up", PowerMeterCtrlAddAvailableEnergyAmount(low, high, 0, 0, 1.0f)},
      {"water calibrate", WaterMeterCtrlCalibrate(low, high, 1.0f)},
      {"valve test", WaterMeterCtrlValveTest(low, high)},
      {"factory mode", WaterMeterCtrlSetFactoryMode(low, high, 1)},
      {"valve control", WaterMeterCtrlValveControl(low, high, 1)},
      {"gas calibrate", GasMeterCtrlCalibrate(low, high, 1.0f)},
      {"all ones", WaterMeterCtrlValveTest(0xFFFFFFFF, 0xFFFFFFFF)},
  };
  for (const auto& [name, command] : refused) EXPECT_FALSE(command) << name;
}

TEST(MeterCommands, AmountsThatDoNotFitEightDigitsAreRefused) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  for (float value : {-0.001f, -1.0f, 99999.999f /* 100000 as a float */, 100000.0f, 1e30f, nan, inf}) {
    EXPECT_FALSE(Current(value)) << value;
    EXPECT_FALSE(TopUp(value)) << value;
  }
  for (float value : {-0.1f, 1e7f, 1e30f, nan, -inf}) {
    EXPECT_FALSE(WaterMeterCtrlCalibrate(kLow, kHigh, value)) << value;
    EXPECT_FALSE(GasMeterCtrlCalibrate(kLow, kHigh, value)) << value;
  }
}

TEST(MeterCommands, QueryParameterChoosesFunctionAndPayload) {
  struct Row {
    int parameter;
    std::uint8_t fn;
    Bytes payload;
  };
  const Row rows[] = {
      {-1, 95, {0, 0, 0, 0}}, {0, 95, {1, 0, 0, 0}},  {1, 95, {2, 0, 0, 0}},  {2, 80, {0, 0, 0, 0}},
      {3, 81, {0, 0, 0, 0}},  {4, 82, {0, 0, 0, 0}},  {5, 83, {0, 0, 0, 0}},  {6, 84, {0, 0, 0, 0}},
      {7, 85, {0, 0, 0, 0}},  {8, 86, {0, 0, 0, 0}},  {9, 87, {0, 0, 0, 0}},  {10, 88, {0, 0, 0, 0}},
      {11, 89, {0, 0, 0, 0}}, {12, 92, {0, 0, 0, 0}}, {13, 93, {0, 0, 0, 0}}, {14, 64, {0, 0, 0, 0}},
      {15, 95, {0, 0, 0, 0}}, {256 + 2, 95, {0, 0, 0, 0}},
  };
  for (const Row& r : rows) {
    const IotCommand c = PowerMeterCtrlQueryParameter(r.parameter);
    EXPECT_EQ(c.commandCode, 95) << r.parameter;
    EXPECT_EQ(c.functionByte, r.fn) << r.parameter;
    EXPECT_EQ(c.payload, r.payload) << r.parameter;
    EXPECT_TRUE(c.record);
  }
}

TEST(MeterCommands, WaterAndGasMeterFrames) {
  Check({
      {"water calibrate", WaterMeterCtrlCalibrate(kLow, kHigh, 123.4f), 65, 48, Meter(1, {0x34, 0x12, 0, 0})},
      {"water calibrate 0.7 is 7", WaterMeterCtrlCalibrate(kLow, kHigh, 0.7f), 65, 48, Meter(1, {0x07, 0, 0, 0})},
      {"water calibrate, largest", WaterMeterCtrlCalibrate(kLow, kHigh, 9999999.0f), 65, 48,
       Meter(1, {0x90, 0x99, 0x99, 0x99})},
      {"valve test", WaterMeterCtrlValveTest(kLow, kHigh), 65, 49, Meter(0)},
      {"factory mode on", WaterMeterCtrlSetFactoryMode(kLow, kHigh, 1), 65, 51, Meter(0)},
      {"factory mode 2 is off", WaterMeterCtrlSetFactoryMode(kLow, kHigh, 2), 65, 50, Meter(0)},
      {"factory mode off", WaterMeterCtrlSetFactoryMode(kLow, kHigh, 0), 65, 50, Meter(0)},
      {"valve control", WaterMeterCtrlValveControl(kLow, kHigh, 0x102), 65, 52, Meter(2)},
      {"valve status", WaterMeterCtrlQueryValveStatus(), 65, 64, {0, 0, 0, 0}},
      {"water data", WaterMeterCtrlQueryData(), 65, 80, {0, 0, 0, 0}},
      {"water meter id", WaterMeterCtrlQueryMeterId(), 65, 81, {0, 0, 0, 0}},
      {"gas calibrate", GasMeterCtrlCalibrate(kLow, kHigh, 2.5f), 66, 48, Meter(1, {0x25, 0, 0, 0})},
      {"gas data", GasMeterCtrlQueryData(), 66, 80, {0, 0, 0, 0}},
      {"gas meter id", GasMeterCtrlQueryMeterId(), 66, 81, {0, 0, 0, 0}},
  });
}
