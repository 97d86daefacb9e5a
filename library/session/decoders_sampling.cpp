// Replies of the sampling collectors (DAIS, THDC, TDC, IDC) and of the pH,
// CO2 and O2 analysers.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "library/session/reply_decoders.h"

namespace {

struct Channel {
  const char* name;
  const char* unit;
};

struct Collector {
  const char* devtype;
  Channel channels[2];
  std::size_t channelCount;
  const char* limitResultType;  // the type word of the "result" of "setlimit"
  std::size_t maxSamples;       // readings per channel a sample block can carry
};

// A device payload holds at most 243 bytes: (243 - 4) / 8 pairs of readings.
constexpr Collector kDais = {"DAIS", {{"x", "°"}, {"y", "°"}}, 2, "number", 29};
constexpr Collector kThdc = {"THDC", {{"temperature", "℃"}, {"humidity", "%RH"}}, 2, "number", 29};
constexpr Collector kTdc = {"TDC", {{"temperature", "℃"}, {}}, 1, "string", 80};
constexpr Collector kIdc = {"IDC", {{"illuminance", "lux"}, {}}, 1, "string", 80};

constexpr std::size_t kMaxPhReadings = 10;
constexpr std::size_t kMaxGasReadings = 50;
constexpr std::size_t kPhTextLength = 5;

// How many fixed-size records from payload byte 4 on the payload holds.
std::size_t RecordsIn(const PayloadReader& payload, std::size_t recordSize) {
  return payload.Size() > 4 ? (payload.Size() - 4) / recordSize : 0;
}

// A block's own count, cut to what the payload holds and to the block's size.
std::size_t Cut(std::size_t count, std::size_t inPayload, std::size_t maximum) {
  return std::min({count, inPayload, maximum});
}

// 10 to the power p in single precision; beyond the float's range, infinity.
float Divisor(std::uint8_t precision) {
  const double divisor = std::pow(10.0, precision);
  return divisor > std::numeric_limits<float>::max() ? std::numeric_limits<float>::infinity()
                                                     : static_cast<float>(divisor);
}

void DecodeCollector(NodeMessage& m, const Collector& c) {
  const PayloadReader payload = m.Payload();
  const std::uint8_t fn = m.Reply().functionByte;
  const int precision = payload.U8(1);
  const float divisor = Divisor(payload.U8(1));
  const std::uint8_t result = payload.U8(2);
  auto reading = [&](std::size_t at) { return static_cast<float>(payload.I32(at)) / divisor; };
  auto singles = [&] {
    for (std::size_t i = 0; i < c.channelCount; ++i)
      m.Float(c.channels[i].name, c.channels[i].unit, "number", "", precision, reading(4 + 4 * i));
  };
  // Each channel's pair of limits: the int32 at 8 + 8i, then the one at 4 + 8i.
  auto limits = [&] {
    for (std::size_t i = 0; i < c.channelCount; ++i) {
      const float pair[2] = {reading(8 + 8 * i), reading(4 + 8 * i)};
      m.FloatArray(c.channels[i].name, c.channels[i].unit, "array", "", precision, pair, 2);
    }
  };
  switch (fn) {
    case 0x50:
      m.Header(c.devtype, "singledata");
      singles();
      break;
    case 0x56:
    case 0x57:
      if (c.channelCount != 2) return;
      m.Header(c.devtype, "zero");
      singles();
      break;
    case 0x5F:
      m.Header(c.devtype, "alarm");
      m.String("alarmtype", "", "string", "", precision, "OutOfLimit");
      singles();
      break;
    case 0x51:
      m.Header(c.devtype, "setlimit");
      m.String("result", "", c.limitResultType, "", 0, result == 0 ? "success" : "failure");
      limits();
      break;
    case 0x54:
    case 0x55:
      m.Header(c.devtype, fn == 0x54 ? "querylimit" : "queryrange");
      limits();
      break;
    case 0x52:
      m.Header(c.devtype, "multidatastart");
      m.Element("period", "", "number", "", precision, payload.I32(4));
      m.Element("count", "", "number", "", precision, payload.I32(8));
      m.String("result", "", "string", "", precision, result == 0 ? "success" : result == 1 ? "failure" : "");
      break;
    case 0x5A: {
      // Readings interleaved channel by channel, one record per sample.
      const std::size_t stride = 4 * c.channelCount;
      const std::size_t count = Cut(payload.U8(0) / c.channelCount, RecordsIn(payload, stride), c.maxSamples);
      m.Header(c.devtype, "multidata");
      std::vector<float> values(count);
      for (std::size_t i = 0; i < c.channelCount; ++i) {
        for (std::size_t k = 0; k < count; ++k) values[k] = reading(4 + stride * k + 4 * i);
        m.FloatArray(c.channels[i].name, c.channels[i].unit, "array", "", precision, values.data(), count);
      }
      break;
    }
    case 0x53:
      m.Header(c.devtype, "status");
      m.String("info", "", "string", "", precision, "multidatastop");
      break;
    default:
      break;
  }
}

// Five characters read as a decimal number the way the C library's atof
// reads them in the "C" locale (leading blanks and a plus sign allowed, the
// text ending at its first NUL or non-number character). A text that is no
// number, or no finite float, reads as 0.
float PhReading(const PayloadReader& payload, std::size_t at) {
  const std::vector<std::uint8_t> bytes = payload.Bytes(at, kPhTextLength);
  std::string text(bytes.begin(), bytes.end());
  text.resize(std::min(text.size(), text.find('\0')));
  const char* first = text.data();
  const char* const last = text.data() + text.size();
  while (first != last && (*first == ' ' || (*first >= '\t' && *first <= '\r'))) ++first;
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return 0.0f;
  }
  double value = 0.0;
  const auto parsed = std::from_chars(first, last, value);
  if (parsed.ec != std::errc() || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
    return 0.0f;
  return static_cast<float>(value);
}

struct Gas {
  const char* devtype;
  const char* unit;
  bool percent;  // readings in hundredths, written as floats
};

constexpr Gas kCo2 = {"CO2", "ppm", false};
constexpr Gas kO2 = {"O2", "%", true};

void DecodeGas(NodeMessage& m, const Gas& gas) {
  static const char* const kAcks[] = {"query", "start", "stop"};
  const PayloadReader payload = m.Payload();
  const std::uint8_t fn = m.Reply().functionByte;
  const int precision = gas.percent ? 2 : 0;
  auto percent = [&](std::size_t at) { return static_cast<float>(payload.U16(at)) * 0.01f; };
  if (fn >= 0x30 && fn <= 0x32) {
    m.Header(gas.devtype, "ack");
    m.String("ack", WordOf(kAcks, fn - 0x30u));
  } else if (fn == 0x50) {
    m.Header(gas.devtype, "singledata");
    if (gas.percent)
      m.Float("value", gas.unit, "number", "", precision, percent(4));
    else
      m.Element("value", gas.unit, "number", "", precision, payload.U16(4));
  } else if (fn == 0x51) {
    const std::size_t count = Cut(payload.U8(2), RecordsIn(payload, 2), kMaxGasReadings);
    m.Header(gas.devtype, "multidata");
    if (gas.percent) {
      std::vector<float> values(count);
      for (std::size_t i = 0; i < count; ++i) values[i] = percent(4 + 2 * i);
      m.FloatArray("value", gas.unit, "array", "number", precision, values.data(), count);
    } else {
      std::vector<std::int32_t> values(count);
      for (std::size_t i = 0; i < count; ++i) values[i] = payload.U16(4 + 2 * i);
      m.IntArray("value", gas.unit, "array", "number", precision, values.data(), count);
    }
  }
}

}  // namespace

void DecodeDais(NodeMessage& m) { DecodeCollector(m, kDais); }
void DecodeThdc(NodeMessage& m) { DecodeCollector(m, kThdc); }
void DecodeTdc(NodeMessage& m) { DecodeCollector(m, kTdc); }
void DecodeIdc(NodeMessage& m) { DecodeCollector(m, kIdc); }

void DecodePh(NodeMessage& m) {
  static const char* const kAcks[] = {"query", "start", "stop", "calibrate"};
  const PayloadReader payload = m.Payload();
  const std::uint8_t fn = m.Reply().functionByte;
  if (fn >= 0x30 && fn <= 0x33) {
    m.Header("PH", "ack");
    m.String("info", WordOf(kAcks, fn - 0x30u));
  } else if (fn == 0x50) {
    m.Header("PH", "singledata");
    m.Float("value", "", "number", "", 3, PhReading(payload, 4));
  } else if (fn == 0x51) {
    const std::size_t count = Cut(payload.U8(2), RecordsIn(payload, kPhTextLength), kMaxPhReadings);
    std::vector<float> values(count);
    for (std::size_t i = 0; i < count; ++i) values[i] = PhReading(payload, 4 + kPhTextLength * i);
    m.Header("PH", "multidata");
    m.FloatArray("value", "", "array", "number", 2, values.data(), count);
  }
}

void DecodeCo2(NodeMessage& m) { DecodeGas(m, kCo2); }
void DecodeO2(NodeMessage& m) { DecodeGas(m, kO2); }
