// The demo's CCMParser on any text. The input is the text, then optionally
// a NUL, the element name, another NUL and a field name; without them a few
// of the decoders' names are read.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "demo/shell/cm_parser.h"

namespace {

void ReadElement(std::string_view text, std::string_view name, std::string_view field) {
  CCMParser::IsDataElement(text, name);
  CCMParser::GetDataElement(text, name);
  CCMParser::GetDataElementField(text, name, field);
  CCMParser::GetDataElementUnit(text, name);
  CCMParser::GetDataElementType(text, name);
  CCMParser::GetDataElementSubType(text, name);
  CCMParser::GetDataElementPrecision(text, name);
  CCMParser::GetDataElementValueInt(text, name);
  CCMParser::GetDataElementValueUInt(text, name);
  CCMParser::GetDataElementValueUInt64(text, name);
  CCMParser::GetDataElementValueFloat(text, name);
  CCMParser::GetDataElementValueString(text, name);
  std::array<int, 8> ints{};
  std::array<std::uint32_t, 8> uints{};
  std::array<float, 128> floats{};
  CCMParser::GetDataElementValueArrayInt(text, name, ints);
  CCMParser::GetDataElementValueArrayUInt(text, name, uints);
  CCMParser::GetDataElementValueArrayFloat(text, name, floats);
  CCMParser::GetDataElementValueArrayFloat(text, name, std::span<float>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string_view text = input.substr(0, nul);
  CCMParser::GetVersion(text);
  CCMParser::GetNvsID(text);
  CCMParser::GetNetID(text);
  CCMParser::GetNodID(text);
  CCMParser::GetDeviceType(text);
  CCMParser::GetMessage(text);
  if (nul != std::string_view::npos) {
    const std::string_view rest = input.substr(nul + 1);
    const std::size_t second = rest.find('\0');
    ReadElement(text, rest.substr(0, second), second == std::string_view::npos ? "value" : rest.substr(second + 1));
  } else {
    for (const char* name : {"state", "value", "temperature", "power"}) ReadElement(text, name, "value");
  }
  return 0;
}
