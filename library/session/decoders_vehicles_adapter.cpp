// Replies of the sensor adapter: anemometer, wind vane and weather station.
#include <cstdio>
#include <thread>

#include "library/session/adapter_records_vehicles.h"
#include "library/session/codecs.h"
#include "library/session/reply_decoders.h"

namespace {

constexpr std::uint8_t kReading = 0x52;
constexpr std::uint8_t kAnemometer = 1, kWindVane = 2, kWeatherPart = 3;

// The weather-station record: big-endian sign-and-magnitude numbers.
class Record {
 public:
  explicit Record(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  std::uint8_t Byte(std::size_t at) const { return at < bytes_.size() ? bytes_[at] : 0; }
  std::uint32_t Big(std::size_t at, std::size_t width) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value = (value << 8) | Byte(at + i);
    return value;
  }
  // The value of `width` bytes at `at` over 10^decimals, its sign in the top bit.
  float Scaled(std::size_t at, std::size_t width, int decimals) const {
    const std::uint32_t raw = Big(at, width);
    const std::uint32_t sign = 1u << (8 * width - 1);
    static constexpr float kPowers[] = {1.0f, 10.0f, 100.0f, 1000.0f};
    const float value = static_cast<float>(raw & (sign - 1)) / kPowers[decimals];
    return (raw & sign) ? -value : value;
  }
  std::int32_t Signed16(std::size_t at) const {
    const std::uint32_t raw = Big(at, 2);
    const auto magnitude = static_cast<std::int32_t>(raw & 0x7FFF);
    return (raw & 0x8000) ? -magnitude : magnitude;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
};

struct ScaledField {
  const char* name;
  std::size_t offset, width;
  int decimals;
  const char* unit;
};

struct IntegerField {
  const char* name;
  std::size_t offset;
  const char* unit;
};

void WeatherStation(NodeMessage& m, const std::vector<std::uint8_t>& bytes) {
  static constexpr ScaledField kLeading[] = {
      {"UltravioletRadiationAccu", 7, 4, 3, "MJ/㎡"},
      {"GlobalRadiationAccu", 11, 4, 3, "MJ/㎡"},
  };
  static constexpr ScaledField kMiddle[] = {
      {"Temperature", 25, 2, 1, "℃"},          {"Humidity", 27, 2, 1, "%RH"},
      {"DewTemperature", 29, 2, 2, "℃"},       {"AtmosphericPressure", 31, 2, 1, "hPa"},
      {"Altitude", 33, 2, 1, "m"},             {"WindSpeed", 35, 2, 1, "m/s"},
      {"WindSppedIn2min", 37, 2, 1, "m/s"},    {"WindSpeedIn10min", 39, 2, 1, "m/s"},
  };
  static constexpr IntegerField kIntegers[] = {
      {"WindDirection", 41, "°"},
      {"UltravioletRadiation", 43, "W/㎡"},
      {"GlobalRadiation", 45, "W/㎡"},
  };
  static constexpr ScaledField kTrailing[] = {
      {"Rainfall", 47, 2, 1, "mm"},
      {"Voltage", 52, 2, 1, "V"},
      {"SunshineDuration", 54, 1, 1, "h"},
  };
  const Record r(bytes);
  const auto scaled = [&](const ScaledField& f) {
    m.Float(f.name, f.unit, "number", "", f.decimals, r.Scaled(f.offset, f.width, f.decimals));
  };

  char time[64];
  std::snprintf(time, sizeof time, "20%02d-%02d-%02d %02d:%02d:%02d", BcdToByte(r.Byte(6)), BcdToByte(r.Byte(4)),
                BcdToByte(r.Byte(3)), BcdToByte(r.Byte(2)), BcdToByte(r.Byte(1)), BcdToByte(r.Byte(0)));
  m.Header("ADAPTER", "data");
  m.String("Type", "WS");
  m.String("Time", time);
  for (const ScaledField& f : kLeading) scaled(f);
  float ground[5];
  for (std::size_t i = 0; i < 5; ++i) ground[i] = r.Scaled(15 + 2 * i, 2, 1);
  m.FloatArray("GroundTemperature", "℃", "array", "", 1, ground, 5);
  for (const ScaledField& f : kMiddle) scaled(f);
  for (const IntegerField& f : kIntegers) m.Element(f.name, f.unit, "number", "", 0, r.Signed16(f.offset));
  for (const ScaledField& f : kTrailing) scaled(f);
}

}  // namespace

void DecodeAdapter(NodeMessage& m) {
  if (m.Reply().functionByte != kReading) return;
  const PayloadReader p = m.Payload();
  switch (p.U8(0)) {
    case kAnemometer:
      m.Header("ADAPTER", "data");
      m.String("Type", "FS");
      m.Float("WindSpeed", "m/s", "number", "", 0, static_cast<float>(p.U32(4) / 10));
      break;
    case kWindVane:
      m.Header("ADAPTER", "data");
      m.String("Type", "FX");
      m.UInt("WindDirection", "°", "number", "", 0, p.U32(4));
      break;
    case kWeatherPart: {
      const IotReply& reply = m.Reply();
      const AdapterRecordKey key{std::this_thread::get_id(), reply.nvsid, reply.netId, reply.nodeAddress, p.U8(1)};
      const std::vector<std::uint8_t> slice = p.Bytes(4, AdapterRecordTable::kPartChars);
      const auto record = TheAdapterRecords().AddPart(
          key, p.U8(2), p.U8(3), std::string_view(reinterpret_cast<const char*>(slice.data()), slice.size()),
          AdapterRecordClock());
      if (record) WeatherStation(m, *record);
      break;
    }
    default:
      break;
  }
}
