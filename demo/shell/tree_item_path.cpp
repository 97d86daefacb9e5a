#include "demo/shell/tree_item_path.h"

namespace {

std::size_t FindSeparator(std::string_view text) {
  for (std::size_t pos = text.find("::"); pos != std::string_view::npos; pos = text.find("::", pos + 1)) {
    std::size_t backslashes = 0;
    while (backslashes < pos && text[pos - 1 - backslashes] == '\\') ++backslashes;
    if (backslashes % 2 == 0) return pos;
  }
  return std::string_view::npos;
}

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, 3, "\\::") == 0) {
      out.append("::");
      i += 3;
    } else if (text.compare(i, 2, "\\\\") == 0) {
      out.push_back('\\');
      i += 2;
    } else {
      out.push_back(text[i]);
      ++i;
    }
  }
  return out;
}

}  // namespace

ItemPathStep SplitItemPath(std::string_view text) {
  const std::size_t separator = FindSeparator(text);
  if (separator == std::string_view::npos) return {Unescape(text), {}};
  return {Unescape(text.substr(0, separator)), std::string(text.substr(separator + 2))};
}
