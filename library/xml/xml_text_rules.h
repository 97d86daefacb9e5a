#pragma once
// Character rules shared by the scanner, navigation and editing: white
// space, name terminators, name comparison and bounded character steps.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace xmlrules {

// White space is exactly space, tab, line feed and carriage return.
inline bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A name ends at white space or at one of ! " ' / ; < = > ? backslash.
bool IsNameTerminator(char c);

// A character that may start a start-tag name: A-Z, '_', ':' or any byte
// above 0x60.
inline bool IsStartTagNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u > 0x60;
}

// Bytes of the character at `pos` that is not a single byte below 0x80,
// at least 1 and never past `end` (process code page).
int MultiByteCharStep(std::string_view text, int pos, int end);

// Bytes of the character at `pos`, at least 1 and never past `end`
// (process code page). A byte below 0x80 is a character of its own in every
// code page the library reads, so it is stepped here without asking the
// code page.
inline int CharStep(std::string_view text, int pos, int end) {
  if (pos >= 0 && pos < end && static_cast<std::size_t>(pos) < text.size() &&
      static_cast<unsigned char>(text[static_cast<std::size_t>(pos)]) < 0x80)
    return 1;
  return MultiByteCharStep(text, pos, end);
}

// a[0, n) == b[0, n), inline for the short lengths of names (a call of
// memcmp costs more than the compare itself); reads no byte beyond n.
inline bool SameBytes(const char* a, const char* b, std::size_t n) {
  auto load8 = [](const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
  };
  auto load4 = [](const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
  };
  if (n > 16) return std::memcmp(a, b, n) == 0;
  if (n >= 8) return load8(a) == load8(b) && load8(a + n - 8) == load8(b + n - 8);
  if (n >= 4) return load4(a) == load4(b) && load4(a + n - 4) == load4(b + n - 4);
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// Names compare as bytes, or ignoring ASCII case; folding stops for the
// rest of the name after the first pair of equal bytes of 0x80 or above.
bool NamesEqual(std::string_view a, std::string_view b, bool ignoreCase);

// True when `text` starts with `name` (compared as NamesEqual does) and the
// byte after it, if any, is a name terminator.
bool NameStartsText(std::string_view name, std::string_view text, bool ignoreCase);

// End of the name that starts at `pos` (runs to a name terminator or `end`).
int NameEnd(std::string_view text, int pos, int end);

// True for a name that an element or attribute may be written with: not
// empty, holding no white space, name terminator or '&'.
bool IsWritableName(const char* name);

// ASCII lower case.
inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace xmlrules
