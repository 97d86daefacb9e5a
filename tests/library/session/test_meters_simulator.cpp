// The stand-in's simulated meters, driven by the library's own command
// descriptions and read back through the library's decoders.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/commands_meters.h"
#include "tests/support/device_replies.h"

namespace {

using SimulatedMeter = testsupport::SimulatedDevice;

std::string Message(const char* devtype, const char* msg, const std::string& data) {
  return "{\"data\":{" + data + "},\"devtype\":\"" + devtype + "\",\"msg\":\"" + msg +
         "\",\"netid\":3,\"nodid\":4,\"nvsid\":7,\"version\":2}\n";
}
std::string Str(const char* name, const char* value) {
  return std::string("\"") + name +
         "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"" + value + "\"}";
}
std::string Value(const char* type, int precision, const char* unit, const char* value) {
  return Str("datatype", type) + ",\"datavalue\":{\"precision\":" + std::to_string(precision) +
         ",\"subtype\":\"\",\"type\":\"number\",\"unit\":\"" + unit + "\",\"value\":" + value + "}";
}
std::string Text(const char* type, const char* value) { return Str("datatype", type) + "," + Str("datavalue", value); }

constexpr const char* kPower = "POWERMETERCTRL";
constexpr const char* kWater = "WATERMETERCTRL";

}  // namespace

TEST(SimulatedMeters, ElectricityMeterKeepsWhatItIsTold) {
  SimulatedMeter meter(95);
  ASSERT_TRUE(meter.Exists());
  EXPECT_EQ(meter.One(PowerMeterCtrlSetMaximumCurrent(1, 0, 0, 0, 5.5f)),
            Message(kPower, "ack", Str("info", "SetMaximumCurrent")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(0)),
            Message(kPower, "data", Value("MaximumCurrent", 0, "", "5.50")));

  EXPECT_EQ(meter.One(PowerMeterCtrlClearAvailableEngeryAmount()),
            Message(kPower, "ack", Str("info", "ClearAvailableEnergyAmount")));
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(meter.One(PowerMeterCtrlAddAvailableEnergyAmount(1, 0, 0, 0, 12.5f)),
              Message(kPower, "ack", Str("info", "AddAvailableEnergyAmount")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(1)),
            Message(kPower, "data", Value("AvailableEnergyAmount", 0, "", "25.0")));

  EXPECT_EQ(meter.One(PowerMeterCtrlSetDate(1, 0, 0, 0, "2027-3-4")), Message(kPower, "ack", Str("info", "SetDate")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(7)), Message(kPower, "data", Text("Date", "2027-03-04")));
  EXPECT_EQ(meter.One(PowerMeterCtrlSetTime(1, 0, 0, 0, "23:5:9")), Message(kPower, "ack", Str("info", "SetTime")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(8)), Message(kPower, "data", Text("Time", "23:05:09")));
  EXPECT_EQ(meter.One(PowerMeterCtrlSetAccountDay(1, 0, 0, 0, 28, 6)),
            Message(kPower, "ack", Str("info", "SetAccountDay")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(9)), Message(kPower, "data", Text("AccountDay", "28 06")));

  EXPECT_EQ(meter.One(PowerMeterCtrlRelayOn()), Message(kPower, "ack", Str("info", "")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(14)), Message(kPower, "status", Str("info", "on")));
  EXPECT_EQ(meter.One(PowerMeterCtrlRelayOff()), Message(kPower, "ack", Str("info", "")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(14)), Message(kPower, "status", Str("info", "off")));

  // The meter addressed last answers for its id.
  EXPECT_EQ(meter.One(PowerMeterCtrlSetAccountDay(0x6FC0FFFF, 0x002386F2, 0, 0, 1, 1)),
            Message(kPower, "ack", Str("info", "SetAccountDay")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(12)),
            Message(kPower, "data", Value("MeterID", 0, "", "9999999999999999")));
}

TEST(SimulatedMeters, ElectricityMeterReadingsAndBadBlocks) {
  SimulatedMeter meter(95);
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(2)),
            Message(kPower, "data", Value("InstantaneousVoltage", 1, "V", "220.50")));
  EXPECT_EQ(meter.One(PowerMeterCtrlQueryParameter(13)),
            Message(kPower, "data", Value("CoverOpenCount", 0, "", "2")));
  const std::string pack = meter.One(PowerMeterCtrlQueryData());
  EXPECT_NE(pack.find("\"msg\":\"datapack\""), std::string::npos) << pack;
  EXPECT_NE(pack.find("\"value\":\"2026-12-09\""), std::string::npos) << pack;
  EXPECT_NE(pack.find("\"value\":\"08:30:00\""), std::string::npos) << pack;
  // A block cut short is bad data; an unknown function byte gets no answer.
  EXPECT_EQ(meter.One(IotCommand{95, 55, {3, 0, 0, 0}, true}), Message(kPower, "fault", Str("info", "BadData")));
  EXPECT_TRUE(meter.Send(IotCommand{95, 90, {0, 0, 0, 0}, true}).empty());
}

TEST(SimulatedMeters, WaterMeterValveAndReading) {
  SimulatedMeter meter(65);
  ASSERT_TRUE(meter.Exists());
  EXPECT_EQ(meter.One(WaterMeterCtrlQueryValveStatus()), Message(kWater, "valvepos", Str("info", "Unknown")));
  EXPECT_EQ(meter.One(WaterMeterCtrlValveControl(1, 0, 1)), Message(kWater, "ack", Str("info", "ValveControl")));
  EXPECT_EQ(meter.One(WaterMeterCtrlQueryValveStatus()), Message(kWater, "valvepos", Str("info", "On")));
  EXPECT_EQ(meter.One(WaterMeterCtrlValveControl(1, 0, 0)), Message(kWater, "ack", Str("info", "ValveControl")));
  EXPECT_EQ(meter.One(WaterMeterCtrlQueryValveStatus()), Message(kWater, "valvepos", Str("info", "Off")));
  EXPECT_EQ(meter.One(WaterMeterCtrlValveTest(1, 0)), Message(kWater, "ack", Str("info", "ValveTest")));
  EXPECT_EQ(meter.One(WaterMeterCtrlSetFactoryMode(1, 0, 1)), Message(kWater, "ack", Str("info", "FactoryModeOn")));
  EXPECT_EQ(meter.One(WaterMeterCtrlSetFactoryMode(1, 0, 0)), Message(kWater, "ack", Str("info", "FactoryModeOff")));
  EXPECT_EQ(meter.One(WaterMeterCtrlQueryData()), Message(kWater, "data", Value("Data", 1, "", "1234.50")));
  EXPECT_EQ(meter.One(WaterMeterCtrlCalibrate(55, 0, 0.7f)), Message(kWater, "ack", Str("info", "Calibrate")));
  EXPECT_EQ(meter.One(WaterMeterCtrlQueryData()), Message(kWater, "data", Value("Data", 1, "", "0.6999999880790710")));
  EXPECT_EQ(meter.One(WaterMeterCtrlQueryMeterId()), Message(kWater, "data", Value("MeterId", 0, "", "55")));
  // A calibration block without its value gets no answer.
  EXPECT_TRUE(meter.Send(IotCommand{65, 48, {1, 0, 0, 0}, true}).empty());
}

TEST(SimulatedMeters, GasMeterAnswersOnlyItsCommands) {
  SimulatedMeter meter(66);
  ASSERT_TRUE(meter.Exists());
  EXPECT_EQ(meter.One(GasMeterCtrlQueryMeterId()),
            Message("GASMETERCTRL", "data", Value("MeterId", 0, "", "87654321")));
  for (std::uint8_t fn : {49, 50, 51, 52, 64})
    EXPECT_TRUE(meter.Send(IotCommand{66, fn, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true}).empty()) << int(fn);
}
