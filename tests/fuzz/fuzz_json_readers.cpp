// The library's exported readers of JSON message texts on any text. The
// input is the text, then optionally a NUL and the element name to read;
// without one, the names the decoders write most are read. Every text a
// reader returns fits its buffer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sentrell.h"

namespace {

void CheckFits(const char* text, std::size_t limit, const char* reader) {
  if (text != nullptr && std::strlen(text) > limit) {
    std::fprintf(stderr, "%s returned %zu bytes, more than %zu\n", reader, std::strlen(text), limit);
    std::abort();
  }
}

void ReadElement(const char* text, const char* name, std::size_t arrayRoom) {
  IsDataElement(text, name);
  CheckFits(CMPGetDataElementUnit(text, name), 31, "unit");
  CheckFits(CMPGetDataElementType(text, name), 31, "type");
  CheckFits(CMPGetDataElementSubType(text, name), 31, "subtype");
  CMPGetDataElementPrecision(text, name);
  CMPGetDataElementValueInt(text, name);
  CMPGetDataElementValueUInt(text, name);
  CMPGetDataElementValueFloat(text, name);
  CheckFits(CMPGetDataElementValueString(text, name), 4096, "value string");
  // Room for every element an array of this text can have.
  std::vector<float> values(arrayRoom);
  CMPGetDataElementValueArrayFloat(text, name, values.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string text = input.substr(0, nul);
  const char* t = text.c_str();
  CMPGetVersion(t);
  CMPGetNvsID(t);
  CMPGetNetID(t);
  CMPGetNodID(t);
  CheckFits(CMPGetDeviceType(t), 31, "devtype");
  CheckFits(CMPGetMessage(t), 31, "msg");
  const std::size_t room = text.size() / 2 + 1;
  if (nul != std::string::npos) {
    ReadElement(t, input.c_str() + nul + 1, room);
  } else {
    for (const char* name : {"state", "value", "temperature", "power", "data"}) ReadElement(t, name, room);
  }
  CMPGetVersion(nullptr);
  ReadElement(nullptr, "value", 1);
  return 0;
}
