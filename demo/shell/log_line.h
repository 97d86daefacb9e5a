#pragma once
// The texts of the main log: the time-stamped line and the result line.
#include <cstddef>
#include <string>
#include <string_view>

#include "demo/shell/clock_time.h"

// Longest text a log line carries, in characters, before its line feed.
inline constexpr std::size_t kLogTextLimit = 255;

// "%2d:%02d:%02d.%03d: " + text, ending in one line feed; the text is cut to
// kLogTextLimit characters first. Empty for an empty text.
std::string FormatLogLine(const TimeOfDay& time, std::string text);

// "name: detail" followed by "错误!" for -1 and "成功!" for any other result.
std::string ResultLogText(int result, std::string_view name, std::string_view detail);
