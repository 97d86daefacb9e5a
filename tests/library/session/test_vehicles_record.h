#pragma once
// Texts of the vehicle, card reader and adapter tests: the message notation
// and the weather-station record that the simulated adapter sends.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vehicles_test {

// A string element ({"precision":0,...,"value":"..."}) with its type word.
inline std::string Text(const std::string& value, const char* type = "string") {
  return std::string("{\"precision\":0,\"subtype\":\"\",\"type\":\"") + type + "\",\"unit\":\"\",\"value\":\"" +
         value + "\"}";
}

// A numeric element; `value` as the text writes it.
inline std::string Number(int precision, const char* unit, const std::string& value, const char* type = "number") {
  return "{\"precision\":" + std::to_string(precision) + ",\"subtype\":\"\",\"type\":\"" + type + "\",\"unit\":\"" +
         unit + "\",\"value\":" + value + "}";
}

// The whole message: data members in byte order, then the header members.
inline std::string Message(const char* devtype, const char* msg, const std::map<std::string, std::string>& data,
                           int netid, int nodid, std::uint32_t nvsid) {
  std::string text = "{\"data\":{";
  bool first = true;
  for (const auto& [name, element] : data) {
    text += (first ? "\"" : ",\"") + name + "\":" + element;
    first = false;
  }
  return text + "},\"devtype\":\"" + devtype + "\",\"msg\":\"" + msg + "\",\"netid\":" + std::to_string(netid) +
         ",\"nodid\":" + std::to_string(nodid) + ",\"nvsid\":" + std::to_string(nvsid) + ",\"version\":2}\n";
}

// The simulated weather station's record (55 bytes).
inline const std::vector<std::uint8_t>& StationRecord() {
  static const std::vector<std::uint8_t> record = {
      0x15, 0x30, 0x08, 0x17, 0x05, 0x00, 0x24, 0x00, 0x00, 0x04, 0xE2, 0x00, 0x00, 0x3C,
      0x8C, 0x00, 0xD7, 0x80, 0x19, 0x00, 0x64, 0x00, 0x00, 0x00, 0x05, 0x00, 0xEB, 0x02,
      0x8F, 0x06, 0x8B, 0x27, 0x97, 0x01, 0xC7, 0x00, 0x23, 0x00, 0x1E, 0x00, 0x19, 0x01,
      0x2C, 0x00, 0x2D, 0x02, 0x8A, 0x00, 0x7D, 0x00, 0x00, 0x00, 0x00, 0x7D, 0x4B,
  };
  return record;
}

// The message of StationRecord() from an adapter.
inline std::string StationMessage(int netid, int nodid, std::uint32_t nvsid) {
  return Message("ADAPTER", "data",
                 {
                     {"Type", Text("WS")},
                     {"Time", Text("2024-05-17 08:30:15")},
                     {"UltravioletRadiationAccu", Number(3, "MJ/㎡", "1.250")},
                     {"GlobalRadiationAccu", Number(3, "MJ/㎡", "15.50")},
                     {"GroundTemperature", Number(1, "℃", "[21.50,-2.50,10.0,0.0,0.50]", "array")},
                     {"Temperature", Number(1, "℃", "23.50")},
                     {"Humidity", Number(1, "%RH", "65.50")},
                     {"DewTemperature", Number(2, "℃", "16.750")},
                     {"AtmosphericPressure", Number(1, "hPa", "1013.50")},
                     {"Altitude", Number(1, "m", "45.50")},
                     {"WindSpeed", Number(1, "m/s", "3.50")},
                     {"WindSppedIn2min", Number(1, "m/s", "3.0")},
                     {"WindSpeedIn10min", Number(1, "m/s", "2.50")},
                     {"WindDirection", Number(0, "°", "300")},
                     {"UltravioletRadiation", Number(0, "W/㎡", "45")},
                     {"GlobalRadiation", Number(0, "W/㎡", "650")},
                     {"Rainfall", Number(1, "mm", "12.50")},
                     {"Voltage", Number(1, "V", "12.50")},
                     {"SunshineDuration", Number(1, "h", "7.50")},
                 },
                 netid, nodid, nvsid);
}

}  // namespace vehicles_test
