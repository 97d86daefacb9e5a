// Replies of the electricity, water and gas meter controllers. Readings
// travel as packed BCD: a 32-bit reading with its decimal exponent in
// payload byte 6, dates and times as one BCD byte per field.
#include <cmath>
#include <cstdio>
#include <string>

#include "library/session/codecs.h"
#include "library/session/reply_decoders.h"

namespace {

constexpr const char* kPowerMeter = "POWERMETERCTRL";
constexpr const char* kWaterMeter = "WATERMETERCTRL";
constexpr const char* kGasMeter = "GASMETERCTRL";
constexpr const char* kNumber = "number";

// Indexed by function byte - 0x23.
const char* const kPowerFaults[] = {"OverCurrent", "EnergyAmountEmpty", "EnergyAmountLow",
                                    "CoverOpen",   "CoverClose",        "BadPassword",
                                    "BadData",     "MeterOperateFailed", "CommunicationFailed"};
// Indexed by function byte - 0x30; the other acknowledgements carry no word.
const char* const kPowerAcks[] = {"Init", "SetDate", "SetTime", "SetAccountDay", "", "",
                                  "ClearAvailableEnergyAmount", "SetMaximumCurrent", "AddAvailableEnergyAmount"};
// Indexed by function byte - 0x31.
const char* const kWaterAcks[] = {"ValveTest", "FactoryModeOff", "FactoryModeOn", "ValveControl"};
// Indexed by payload byte 0.
const char* const kValvePositions[] = {"", "On", "Off", "Unknown"};

std::uint32_t Bcd32(const PayloadReader& p, std::size_t at) { return BcdToUInt32(p.U32(at)); }
std::uint64_t Bcd64(const PayloadReader& p, std::size_t at) {
  return BcdToUInt64(static_cast<std::uint64_t>(p.U32(at)) | (static_cast<std::uint64_t>(p.U32(at + 4)) << 32));
}
int Bcd8(const PayloadReader& p, std::size_t at) { return BcdToByte(p.U8(at)); }

// A BCD reading divided by 10 to the power `exponent`, in single precision.
float Scaled(std::uint32_t reading, int exponent) {
  return static_cast<float>(static_cast<double>(static_cast<float>(reading)) / std::pow(10.0, exponent));
}

std::string DateText(int year, int month, int day) {
  char text[32];
  std::snprintf(text, sizeof text, "20%02d-%02d-%02d", year, month, day);
  return text;
}
std::string TimeText(int hour, int minute, int second) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
  return text;
}

// The element of a scaled reading: BCD32 at `at`, exponent byte 6.
void Reading(NodeMessage& m, const char* name, const char* unit, std::size_t at) {
  const PayloadReader p = m.Payload();
  const int exponent = p.U8(6);
  m.Float(name, unit, kNumber, "", exponent, Scaled(Bcd32(p, at), exponent));
}

void DataType(NodeMessage& m, const char* type) { m.String("datatype", type); }

struct ScaledReading {
  std::uint8_t function;
  const char* type;
  const char* unit;
};
constexpr ScaledReading kPowerReadings[] = {
    {0x50, "InstantaneousVoltage", "V"},
    {0x51, "InstantaneousCurrent", "A"},
    {0x52, "InstantaneousActivePowerOfPhaseA", "kWh"},
    {0x53, "PowerFactor", ""},
    {0x54, "EnergyAmount", "kWh"},
    {0x58, "EnergyAmountOfThisMonth", "kWh"},
    {0x59, "EnergyAmountOfLastMonth", "kWh"},
};

// One "datatype"/"datavalue" pair; 0x5A, 0x5B and 0x5F with an unknown
// selector give the header alone.
void PowerData(NodeMessage& m, std::uint8_t fn) {
  const PayloadReader p = m.Payload();
  m.Header(kPowerMeter, "data");
  for (const ScaledReading& r : kPowerReadings) {
    if (r.function != fn) continue;
    DataType(m, r.type);
    Reading(m, "datavalue", r.unit, 12);
    return;
  }
  switch (fn) {
    case 0x55:
      DataType(m, "Date");
      m.String("datavalue", DateText(Bcd8(p, 15), Bcd8(p, 14), Bcd8(p, 13)).c_str());
      break;
    case 0x56:
      DataType(m, "Time");
      m.String("datavalue", TimeText(Bcd8(p, 14), Bcd8(p, 13), Bcd8(p, 12)).c_str());
      break;
    case 0x57: {
      char text[32];
      std::snprintf(text, sizeof text, "%02d %02d", Bcd8(p, 13), Bcd8(p, 12));
      DataType(m, "AccountDay");
      m.String("datavalue", text);
      break;
    }
    case 0x5C:
      DataType(m, "MeterID");
      m.UInt64("datavalue", "", kNumber, "", 0, Bcd64(p, 8));
      break;
    case 0x5D:
      DataType(m, "CoverOpenCount");
      m.Element("datavalue", "", kNumber, "", 0, static_cast<std::int32_t>(Bcd32(p, 12)));
      break;
    case 0x5F: {
      const std::uint8_t selector = p.U8(0);
      if (selector != 1 && selector != 2) break;
      DataType(m, selector == 1 ? "MaximumCurrent" : "AvailableEnergyAmount");
      m.Float("datavalue", "", kNumber, "", 0, Scaled(Bcd32(p, 8), p.U8(6)));
      break;
    }
    default:
      break;
  }
}

void PowerDataPack(NodeMessage& m) {
  const PayloadReader p = m.Payload();
  m.Header(kPowerMeter, "datapack");
  m.Float("InstantaneousVoltage", "V", kNumber, "", 1, Scaled(Bcd32(p, 8), 1));
  m.Float("InstantaneousCurrent", "A", kNumber, "", 3, Scaled(Bcd32(p, 12), 3));
  m.Float("InstantaneousActivePower", "kWh", kNumber, "", 4, Scaled(Bcd32(p, 16), 4));
  m.Float("PowerFactor", "", kNumber, "", 3, Scaled(Bcd32(p, 20), 3));
  m.Float("EnergyAmount", "kWh", kNumber, "", 2, Scaled(Bcd32(p, 24), 2));
  m.String("Date", DateText(Bcd8(p, 31), Bcd8(p, 30), Bcd8(p, 29)).c_str());
  m.String("Time", TimeText(Bcd8(p, 34), Bcd8(p, 33), Bcd8(p, 32)).c_str());
  m.Float("AvailableEnergyAmount", "kWh", kNumber, "", 2, Scaled(Bcd32(p, 36), 2));
}

// The water and the gas meter share their replies; the valve's belong to the
// water meter alone.
void WaterOrGas(NodeMessage& m, const char* devtype, bool water) {
  const std::uint8_t fn = m.Reply().functionByte;
  const PayloadReader p = m.Payload();
  if (fn == 0x2B) {
    m.Header(devtype, "fault");
    m.String("info", "CommunicationFailed");
  } else if (fn == 0x30) {
    m.Header(devtype, "ack");
    m.String("info", "Calibrate");
  } else if (water && fn >= 0x31 && fn <= 0x34) {
    m.Header(devtype, "ack");
    m.String("info", WordOf(kWaterAcks, fn - 0x31u));
  } else if (water && fn == 0x40) {
    m.Header(devtype, "valvepos");
    m.String("info", WordOf(kValvePositions, p.U8(0)));
  } else if (water && (fn == 0x41 || fn == 0x42)) {
    m.Header(devtype, "valvestatus");
    m.String("info", fn == 0x41 ? "Running" : "Stopped");
  } else if (fn == 0x50) {
    m.Header(devtype, "data");
    DataType(m, "Data");
    Reading(m, "datavalue", "", 12);
  } else if (fn == 0x51) {
    m.Header(devtype, "data");
    DataType(m, "MeterId");
    m.UInt64("datavalue", "", kNumber, "", 0, Bcd64(p, 12));
  }
}

}  // namespace

void DecodePowerMeter(NodeMessage& m) {
  const std::uint8_t fn = m.Reply().functionByte;
  if (fn >= 0x23 && fn <= 0x2B) {
    m.Header(kPowerMeter, "fault");
    m.String("info", WordOf(kPowerFaults, fn - 0x23u));
  } else if (fn >= 0x30 && fn <= 0x3F) {
    m.Header(kPowerMeter, "ack");
    m.String("info", WordOf(kPowerAcks, fn - 0x30u));
  } else if (fn == 0x40) {
    m.Header(kPowerMeter, "status");
    m.String("info", m.Payload().U32(8) == 1 ? "on" : "off");
  } else if (fn == 0x5E) {
    PowerDataPack(m);
  } else if ((fn >= 0x50 && fn <= 0x5D) || fn == 0x5F) {
    PowerData(m, fn);
  }
}

void DecodeWaterMeter(NodeMessage& m) { WaterOrGas(m, kWaterMeter, true); }
void DecodeGasMeter(NodeMessage& m) { WaterOrGas(m, kGasMeter, false); }
