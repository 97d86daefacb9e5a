#include "library/xml/xml_text_rules.h"

#include "platform/code_page.h"

namespace xmlrules {

bool IsNameTerminator(char c) {
  switch (c) {
    case ' ': case '\t': case '\n': case '\r':
    case '!': case '"': case '\'': case '/': case ';':
    case '<': case '=': case '>': case '?': case '\\':
      return true;
    default:
      return false;
  }
}

int MultiByteCharStep(std::string_view text, int pos, int end) {
  const int limit = end < static_cast<int>(text.size()) ? end : static_cast<int>(text.size());
  if (pos >= limit) return 1;
  const auto step = plat::CharLength(0, text.data() + pos, text.data() + limit);
  return step == 0 ? 1 : static_cast<int>(step);
}

bool NamesEqual(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  if (!ignoreCase) return a == b;
  bool fold = true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (fold && ca >= 0x80 && ca == cb) fold = false;
    if (fold) {
      if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    } else if (ca != cb) {
      return false;
    }
  }
  return true;
}

bool NameStartsText(std::string_view name, std::string_view text, bool ignoreCase) {
  if (text.size() < name.size()) return false;
  if (!NamesEqual(name, text.substr(0, name.size()), ignoreCase)) return false;
  return text.size() == name.size() || IsNameTerminator(text[name.size()]);
}

int NameEnd(std::string_view text, int pos, int end) {
  while (pos < end && !IsNameTerminator(text[pos])) pos += CharStep(text, pos, end);
  return pos < end ? pos : end;
}

bool IsWritableName(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  for (const char* p = name; *p; ++p)
    if (IsNameTerminator(*p) || *p == '&') return false;
  return true;
}

}  // namespace xmlrules
