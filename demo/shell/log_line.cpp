#include "demo/shell/log_line.h"

#include "demo/shell/text_format.h"

std::string FormatLogLine(const TimeOfDay& time, std::string text) {
  text = TruncateUtf8Chars(std::move(text), kLogTextLimit);
  if (text.empty()) return {};
  if (text.back() != '\n') text.push_back('\n');
  return Format("%2d:%02d:%02d.%03d: ", time.hour, time.minute, time.second, time.millisecond) + text;
}

std::string ResultLogText(int result, std::string_view name, std::string_view detail) {
  std::string text;
  text.reserve(name.size() + detail.size() + 12);
  text.append(name).append(": ").append(detail);
  text.append(result == -1 ? "错误!" : "成功!");
  return text;
}
