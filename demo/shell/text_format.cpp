#include "demo/shell/text_format.h"

#include <cstdio>

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (needed <= 0) return {};
  std::string text(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<std::size_t>(needed));
  return text;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return text;
}

std::string TruncateUtf8Chars(std::string text, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsContinuationByte(text[i])) continue;
    if (chars == maxChars) {
      text.resize(i);
      break;
    }
    ++chars;
  }
  return text;
}

std::string TruncateUtf8Bytes(std::string text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t cut = maxBytes;
  while (cut > 0 && IsContinuationByte(text[cut])) --cut;
  text.resize(cut);
  return text;
}
