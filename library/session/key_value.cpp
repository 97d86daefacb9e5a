#include "library/session/key_value.h"

std::string GetKeyValue(std::string_view text, std::string_view key) {
  if (key.empty()) return {};
  const std::size_t at = text.find(key);
  if (at == std::string_view::npos) return {};
  std::size_t end = text.find(';', at);
  if (end == std::string_view::npos) end = text.size();
  const std::size_t valueStart = at + key.size() + 1;
  if (valueStart >= end) return {};
  return std::string(text.substr(valueStart, end - valueStart));
}
