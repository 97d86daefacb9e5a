#include "tools/received_line.h"

#include <cstdio>

namespace standin {
namespace {

constexpr std::size_t kShownBodyBytes = 64;

// Printable ASCII as it is, every other byte as \xNN.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out.push_back(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out.append(hex);
    }
  }
  return out;
}

const char* KindText(const ParsedMessage& parsed) {
  switch (parsed.start) {
    case ParsedMessage::StartLine::Request: return "REQ";
    case ParsedMessage::StartLine::Answer: return "ACK";
    case ParsedMessage::StartLine::Cancel: return "CANCEL";
    case ParsedMessage::StartLine::Missing: return "-";
    case ParsedMessage::StartLine::Unknown: break;
  }
  return "?";
}

}  // namespace

std::string ReceivedLine(const ReceivedMessage& message, std::chrono::steady_clock::time_point start) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(message.time - start);
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, "+%lld.%03lld #%zu ", static_cast<long long>(elapsed.count() / 1000),
                static_cast<long long>(elapsed.count() % 1000), message.connection);
  const ParsedMessage& parsed = message.parsed;
  std::string line = stamp;
  line += KindText(parsed);
  if (parsed.start == ParsedMessage::StartLine::Answer) line += " " + std::to_string(parsed.ackCode);
  line += " " + (message.cmd.empty() ? std::string("-") : Escaped(message.cmd));
  for (const auto& [name, value] : parsed.headers) {
    if (name == "Cmd") continue;
    line += " " + Escaped(name) + "=" + Escaped(value);
  }
  line += " body[" + std::to_string(parsed.body.size()) + "]=" +
          Escaped(std::string_view(parsed.body).substr(0, kShownBodyBytes));
  if (parsed.body.size() > kShownBodyBytes) line += "...";
  if (!message.complete) line += " (partial block of " + std::to_string(message.raw.size()) + " bytes)";
  if (!parsed.error.empty()) line += " (" + parsed.error + ")";
  return line;
}

}  // namespace standin
