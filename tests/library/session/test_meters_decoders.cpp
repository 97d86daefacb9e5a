#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decoder_test_support.h"
#include "library/session/reply_routing.h"
#include "sentrell.h"

namespace {

using decodertest::Str;
using decodertest::Reply;

using Bytes = std::vector<std::uint8_t>;

struct Case {
  const char* name;
  std::uint8_t fn;
  Bytes payload;
  std::string expected;  // "" for no message
};

std::string Header(const char* devtype, const char* msg) {
  return std::string("\"devtype\":\"") + devtype + "\",\"msg\":\"" + msg +
         "\",\"netid\":1,\"nodid\":5,\"nvsid\":1000001,\"version\":2}\n";
}
std::string Message(const char* devtype, const char* msg, const std::string& data) {
  return "{\"data\":{" + data + "}," + Header(devtype, msg);
}
// A message without elements has no "data" member.
std::string Bare(const char* devtype, const char* msg) { return "{" + Header(devtype, msg); }

std::string Num(const char* name, int precision, const char* unit, const std::string& value) {
  return std::string("\"") + name + "\":{\"precision\":" + std::to_string(precision) +
         ",\"subtype\":\"\",\"type\":\"number\",\"unit\":\"" + unit + "\",\"value\":" + value + "}";
}
// "datatype" then "datavalue".
std::string Data(const char* type, const std::string& value) { return Str("datatype", type) + "," + value; }

// A reply payload: `size` zero bytes with the given bytes put at their offsets.
Bytes Payload(std::size_t size, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
  Bytes p(size, 0);
  for (const auto& [at, value] : bytes) p[at] = value;
  return p;
}

void Check(std::uint8_t code, const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    const RoutedReply routed = RouteIotReply(Reply(code, c.fn, c.payload));
    EXPECT_EQ(routed.text, c.expected) << c.name;
    EXPECT_EQ(routed.notifyId, c.expected.empty() ? 0u : static_cast<unsigned>(NOTIFY_NODEMSG)) << c.name;
    EXPECT_TRUE(routed.deviceData) << c.name;
  }
}

constexpr const char* kPower = "POWERMETERCTRL";
constexpr const char* kWater = "WATERMETERCTRL";
constexpr const char* kGas = "GASMETERCTRL";

}  // namespace

TEST(MeterReplies, ElectricityMeterEventsAndAcknowledgements) {
  Check(95, {
                {"first fault", 0x23, {}, Message(kPower, "fault", Str("info", "OverCurrent"))},
                {"cover open", 0x26, {}, Message(kPower, "fault", Str("info", "CoverOpen"))},
                {"last fault", 0x2B, {}, Message(kPower, "fault", Str("info", "CommunicationFailed"))},
                {"below the faults", 0x22, {}, ""},
                {"between faults and acks", 0x2C, {}, ""},
                {"ack init", 0x30, {}, Message(kPower, "ack", Str("info", "Init"))},
                {"ack account day", 0x33, {}, Message(kPower, "ack", Str("info", "SetAccountDay"))},
                {"ack gap", 0x34, {}, Message(kPower, "ack", Str("info", ""))},
                {"ack clear", 0x36, {}, Message(kPower, "ack", Str("info", "ClearAvailableEnergyAmount"))},
                {"ack top-up", 0x38, {}, Message(kPower, "ack", Str("info", "AddAvailableEnergyAmount"))},
                {"ack relay on", 0x3B, {}, Message(kPower, "ack", Str("info", ""))},
                {"last ack", 0x3F, {}, Message(kPower, "ack", Str("info", ""))},
                {"relay on", 0x40, Payload(12, {{8, 1}}), Message(kPower, "status", Str("info", "on"))},
                {"relay, 2 is off", 0x40, Payload(12, {{8, 2}}), Message(kPower, "status", Str("info", "off"))},
                {"relay, whole word counts", 0x40, Payload(12, {{8, 1}, {11, 1}}),
                 Message(kPower, "status", Str("info", "off"))},
                {"relay, short payload", 0x40, Payload(9, {{8, 1}}), Message(kPower, "status", Str("info", "on"))},
                {"relay, empty payload", 0x40, {}, Message(kPower, "status", Str("info", "off"))},
                {"not listed", 0x41, {}, ""},
                {"above the readings", 0x60, {}, ""},
                {"low function byte", 0x10, {}, ""},
            });
}

TEST(MeterReplies, ElectricityMeterReadings) {
  // Readings: BCD at 12, exponent in byte 6.
  auto reading = [](std::uint8_t e, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bcd) {
    Bytes p = Payload(16, bcd);
    p[6] = e;
    return p;
  };
  Check(95, {
                {"voltage", 0x50, reading(1, {{12, 0x05}, {13, 0x22}}),
                 Message(kPower, "data", Data("InstantaneousVoltage", Num("datavalue", 1, "V", "220.50")))},
                {"current", 0x51, reading(3, {{12, 0x23}, {13, 0x51}}),
                 Message(kPower, "data", Data("InstantaneousCurrent", Num("datavalue", 3, "A", "5.123000144958496")))},
                {"active power", 0x52, reading(4, {{12, 0x25}, {13, 0x10}, {14, 0x01}}),
                 Message(kPower, "data",
                         Data("InstantaneousActivePowerOfPhaseA", Num("datavalue", 4, "kWh", "1.102499961853027")))},
                {"power factor", 0x53, reading(3, {{12, 0x98}, {13, 0x09}}),
                 Message(kPower, "data", Data("PowerFactor", Num("datavalue", 3, "", "0.9980000257492065")))},
                {"energy", 0x54, reading(2, {{12, 0x67}, {13, 0x45}, {14, 0x23}, {15, 0x01}}),
                 Message(kPower, "data", Data("EnergyAmount", Num("datavalue", 2, "kWh", "12345.6699218750")))},
                {"this month", 0x58, reading(0, {{12, 0x42}}),
                 Message(kPower, "data", Data("EnergyAmountOfThisMonth", Num("datavalue", 0, "kWh", "42.0")))},
                {"last month", 0x59, reading(2, {{12, 0x05}, {13, 0x22}}),
                 Message(kPower, "data",
                         Data("EnergyAmountOfLastMonth", Num("datavalue", 2, "kWh", "22.04999923706055")))},
                {"nibble A counts ten", 0x50, reading(0, {{12, 0x0A}}),
                 Message(kPower, "data", Data("InstantaneousVoltage", Num("datavalue", 0, "V", "10.0")))},
                {"exponent beyond float", 0x50, reading(255, {{12, 0x99}}),
                 Message(kPower, "data", Data("InstantaneousVoltage", Num("datavalue", 255, "V", "0.0")))},
                {"reading, empty payload", 0x50, {},
                 Message(kPower, "data", Data("InstantaneousVoltage", Num("datavalue", 0, "V", "0.0")))},
                {"date", 0x55, Payload(16, {{13, 0x09}, {14, 0x12}, {15, 0x26}}),
                 Message(kPower, "data", Data("Date", Str("datavalue", "2026-12-09")))},
                {"date, invalid year byte", 0x55, Payload(16, {{13, 0x09}, {14, 0x12}, {15, 0xAB}}),
                 Message(kPower, "data", Data("Date", Str("datavalue", "20255-12-09")))},
                {"date, short payload", 0x55, Payload(14, {{13, 0x31}}),
                 Message(kPower, "data", Data("Date", Str("datavalue", "2000-00-31")))},
                {"time", 0x56, Payload(16, {{12, 0x30}, {13, 0x20}, {14, 0x10}}),
                 Message(kPower, "data", Data("Time", Str("datavalue", "10:20:30")))},
                {"time, invalid low nibble", 0x56, Payload(16, {{12, 0x3F}, {13, 0x20}, {14, 0x10}}),
                 Message(kPower, "data", Data("Time", Str("datavalue", "10:20:255")))},
                {"account day", 0x57, Payload(16, {{12, 0x08}, {13, 0x15}}),
                 Message(kPower, "data", Data("AccountDay", Str("datavalue", "15 08")))},
                {"no reading 0x5A", 0x5A, Payload(16, {{12, 0x11}}), Bare(kPower, "data")},
                {"no reading 0x5B", 0x5B, {}, Bare(kPower, "data")},
                {"meter id, 16 digits", 0x5C,
                 Payload(16, {{8, 0x10}, {9, 0x32}, {10, 0x54}, {11, 0x76}, {12, 0x98}, {13, 0x10}, {14, 0x32},
                              {15, 0x54}}),
                 Message(kPower, "data", Data("MeterID", Num("datavalue", 0, "", "5432109876543210")))},
                {"meter id, nibble A", 0x5C, Payload(16, {{8, 0x0A}}),
                 Message(kPower, "data", Data("MeterID", Num("datavalue", 0, "", "10")))},
                {"meter id, payload ends in the high word", 0x5C, Payload(13, {{8, 0x01}, {12, 0x02}}),
                 Message(kPower, "data", Data("MeterID", Num("datavalue", 0, "", "200000001")))},
                {"cover open count", 0x5D, Payload(16, {{12, 0x23}, {13, 0x01}}),
                 Message(kPower, "data", Data("CoverOpenCount", Num("datavalue", 0, "", "123")))},
                {"maximum current", 0x5F, Payload(12, {{0, 1}, {6, 3}, {8, 0x00}, {9, 0x00}, {10, 0x06}}),
                 Message(kPower, "data", Data("MaximumCurrent", Num("datavalue", 0, "", "60.0")))},
                {"available energy", 0x5F, Payload(12, {{0, 2}, {6, 1}, {8, 0x25}, {9, 0x01}}),
                 Message(kPower, "data", Data("AvailableEnergyAmount", Num("datavalue", 0, "", "12.50")))},
                {"parameter block, other selector", 0x5F, Payload(12, {{0, 3}, {8, 0x25}}), Bare(kPower, "data")},
                {"parameter block, empty", 0x5F, {}, Bare(kPower, "data")},
            });
}

TEST(MeterReplies, ElectricityMeterDataPack) {
  const Bytes pack = {
      0,    0,    0,    0,    0,    0,    0,    0,     //
      0x05, 0x22, 0,    0,                             // 8: 220.5 V
      0x23, 0x51, 0,    0,                             // 12: 5.123 A
      0x25, 0x10, 0x01, 0,                             // 16: 1.1025
      0x98, 0x09, 0,    0,                             // 20: 0.998
      0x67, 0x45, 0x23, 0x01,                          // 24: 12345.67 kWh
      0,    0x09, 0x12, 0x26,                          // 29..31: day, month, year
      0x05, 0x30, 0x08, 0,                             // 32..34: second, minute, hour
      0x00, 0x00, 0x01, 0,                             // 36: 100 kWh
  };
  const std::string all =
      Num("AvailableEnergyAmount", 2, "kWh", "100.0") + "," + Str("Date", "2026-12-09") + "," +
      Num("EnergyAmount", 2, "kWh", "12345.6699218750") + "," +
      Num("InstantaneousActivePower", 4, "kWh", "1.102499961853027") + "," +
      Num("InstantaneousCurrent", 3, "A", "5.123000144958496") + "," +
      Num("InstantaneousVoltage", 1, "V", "220.50") + "," + Num("PowerFactor", 3, "", "0.9980000257492065") + "," +
      Str("Time", "08:30:05");
  const std::string empty = Num("AvailableEnergyAmount", 2, "kWh", "0.0") + "," + Str("Date", "2000-00-00") + "," +
                            Num("EnergyAmount", 2, "kWh", "0.0") + "," +
                            Num("InstantaneousActivePower", 4, "kWh", "0.0") + "," +
                            Num("InstantaneousCurrent", 3, "A", "0.0") + "," +
                            Num("InstantaneousVoltage", 1, "V", "0.0") + "," + Num("PowerFactor", 3, "", "0.0") +
                            "," + Str("Time", "00:00:00");
  Check(95, {
                {"all eight elements", 0x5E, pack, Message(kPower, "datapack", all)},
                {"empty payload reads zeros", 0x5E, {}, Message(kPower, "datapack", empty)},
            });
}

TEST(MeterReplies, WaterMeter) {
  Check(65, {
                {"fault", 0x2B, {}, Message(kWater, "fault", Str("info", "CommunicationFailed"))},
                {"power meter fault", 0x23, {}, ""},
                {"calibrate", 0x30, {}, Message(kWater, "ack", Str("info", "Calibrate"))},
                {"valve test", 0x31, {}, Message(kWater, "ack", Str("info", "ValveTest"))},
                {"factory off", 0x32, {}, Message(kWater, "ack", Str("info", "FactoryModeOff"))},
                {"factory on", 0x33, {}, Message(kWater, "ack", Str("info", "FactoryModeOn"))},
                {"valve control", 0x34, {}, Message(kWater, "ack", Str("info", "ValveControl"))},
                {"after the acks", 0x35, {}, ""},
                {"valve on", 0x40, {1}, Message(kWater, "valvepos", Str("info", "On"))},
                {"valve off", 0x40, {2, 0, 0, 0}, Message(kWater, "valvepos", Str("info", "Off"))},
                {"valve unknown", 0x40, {3}, Message(kWater, "valvepos", Str("info", "Unknown"))},
                {"valve 0", 0x40, {0}, Message(kWater, "valvepos", Str("info", ""))},
                {"valve 9", 0x40, {9}, Message(kWater, "valvepos", Str("info", ""))},
                {"valve, empty payload", 0x40, {}, Message(kWater, "valvepos", Str("info", ""))},
                {"running", 0x41, {}, Message(kWater, "valvestatus", Str("info", "Running"))},
                {"stopped", 0x42, {}, Message(kWater, "valvestatus", Str("info", "Stopped"))},
                {"data", 0x50, Payload(16, {{6, 1}, {12, 0x45}, {13, 0x23}, {14, 0x01}}),
                 Message(kWater, "data", Data("Data", Num("datavalue", 1, "", "1234.50")))},
                {"data, short payload", 0x50, Payload(13, {{6, 2}, {12, 0x50}}),
                 Message(kWater, "data", Data("Data", Num("datavalue", 2, "", "0.50")))},
                {"meter id", 0x51,
                 Payload(20, {{12, 0x21}, {13, 0x43}, {14, 0x65}, {15, 0x87}, {16, 0x09}, {19, 0x10}}),
                 Message(kWater, "data", Data("MeterId", Num("datavalue", 0, "", "1000000987654321")))},
                {"meter id, payload ends early", 0x51, Payload(13, {{12, 0x99}}),
                 Message(kWater, "data", Data("MeterId", Num("datavalue", 0, "", "99")))},
                {"not listed", 0x52, {}, ""},
            });
}

TEST(MeterReplies, GasMeterHasNoValve) {
  Check(66, {
                {"fault", 0x2B, {}, Message(kGas, "fault", Str("info", "CommunicationFailed"))},
                {"calibrate", 0x30, {}, Message(kGas, "ack", Str("info", "Calibrate"))},
                {"valve test ack", 0x31, {}, ""},
                {"valve control ack", 0x34, {}, ""},
                {"valve position", 0x40, {2}, ""},
                {"valve status", 0x41, {}, ""},
                {"data", 0x50, Payload(16, {{6, 3}, {12, 0x00}, {13, 0x25}}),
                 Message(kGas, "data", Data("Data", Num("datavalue", 3, "", "2.50")))},
                {"meter id", 0x51, Payload(20, {{12, 0x78}, {13, 0x56}, {14, 0x34}, {15, 0x12}}),
                 Message(kGas, "data", Data("MeterId", Num("datavalue", 0, "", "12345678")))},
            });
}
