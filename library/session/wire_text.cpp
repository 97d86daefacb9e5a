#include "library/session/wire_text.h"

std::string WireToUtf8(std::string_view wire) {
  std::string out;
  if (!plat::ConvertCodePage(kWireCodePage, plat::kCodePageUtf8, wire, out)) return std::string(wire);
  return out;
}

std::string Utf8ToWire(std::string_view text) {
  std::string out;
  if (!plat::ConvertCodePage(plat::kCodePageUtf8, kWireCodePage, text, out)) return std::string(text);
  return out;
}

std::string FitUtf8(std::string_view text, std::size_t capacity) {
  if (capacity == 0) return {};
  const char* p = text.data();
  const char* end = p + text.size();
  std::size_t used = 0;
  while (p < end) {
    const std::size_t step = plat::CharLength(plat::kCodePageUtf8, p, end);
    if (used + step + 1 > capacity) break;
    used += step;
    p += step;
  }
  return std::string(text.substr(0, used));
}

std::string WireNameToUtf8(const char* bytes, std::size_t size) {
  if (bytes == nullptr) return {};
  std::size_t length = 0;
  while (length < size && bytes[length] != '\0') ++length;
  // Step over whole characters; a lead byte without its trail byte is cut off.
  std::size_t whole = 0;
  while (whole < length) {
    const std::size_t step = plat::CharLength(kWireCodePage, bytes + whole, bytes + length);
    const auto lead = static_cast<unsigned char>(bytes[whole]);
    if (step == 1 && lead >= 0x81 && lead <= 0xFE) break;
    whole += step;
  }
  return WireToUtf8(std::string_view(bytes, whole));
}
