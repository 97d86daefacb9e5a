#include "library/session/node_line.h"

#include <strings.h>

#include <cstdlib>

namespace {

int StateOf(const std::string& word, int previous) {
  static const char* const kWords[] = {"offline", "online", "powerdown", "exception"};
  for (int i = 0; i < 4; ++i)
    if (strcasecmp(word.c_str(), kWords[i]) == 0) return i;
  return previous;
}

int Integer(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

std::vector<std::string_view> Split(std::string_view text, char separator, std::size_t maxParts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < maxParts) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  parts.push_back(text);
  return parts;
}

void AppendWithin(std::string& to, std::string_view value, std::size_t limit) {
  if (to.size() >= limit) return;
  to.append(value.substr(0, limit - to.size()));
}

}  // namespace

NodeLine ParseNodeLine(std::string_view line, int previousState) {
  const auto fields = Split(line, ':', 5);
  auto field = [&](std::size_t i) { return i < fields.size() ? std::string(fields[i]) : std::string(); };
  NodeLine node;
  node.address = Integer(field(0));
  node.name = field(1);
  node.state = StateOf(field(2), previousState);
  node.type = Integer(field(3));
  node.netId = static_cast<std::uint16_t>(Integer(field(4)) & 0xFFFF);
  return node;
}

std::vector<NodeLine> ParseNodeLines(std::string_view text, std::size_t maxLines) {
  std::vector<NodeLine> lines;
  if (text.empty()) return lines;
  int state = 0;
  for (std::string_view line : Split(text, '\n', maxLines + 1)) {
    if (lines.size() == maxLines) break;
    lines.push_back(ParseNodeLine(line, state));
    state = lines.back().state;
  }
  return lines;
}

std::uint8_t NodeLinesCheck(const std::vector<NodeLine>& lines, std::size_t first) {
  std::uint8_t sum = 0;
  auto addBytes = [&sum](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) sum = static_cast<std::uint8_t>(sum + ((value >> (8 * i)) & 0xFF));
  };
  for (std::size_t i = first; i < lines.size(); ++i) {
    for (unsigned char c : lines[i].name) sum = static_cast<std::uint8_t>(sum + c);
    addBytes(static_cast<std::uint32_t>(lines[i].address), 4);
    addBytes(lines[i].netId, 2);
    addBytes(static_cast<std::uint32_t>(lines[i].type), 4);
  }
  return sum;
}

CameraData ParseCameraData(std::string_view text) {
  CameraData camera;
  for (std::string_view item : Split(text, ';', text.size() + 1)) {
    const auto parts = Split(item, '=', 2);
    if (parts.size() < 2) continue;
    const std::string key(parts[0]);
    const std::string_view value = parts[1];
    if (strcasecmp(key.c_str(), "CamUserName") == 0) AppendWithin(camera.userName, value, 31);
    else if (strcasecmp(key.c_str(), "CamUserMobile") == 0) AppendWithin(camera.mobile, value, 16);
    else if (strcasecmp(key.c_str(), "CamAddress") == 0) AppendWithin(camera.address, value, 255);
    else if (strcasecmp(key.c_str(), "CamIP") == 0) AppendWithin(camera.ip, value, 15);
    else if (strcasecmp(key.c_str(), "fx") == 0) AppendWithin(camera.fx, value, 31);
    else if (strcasecmp(key.c_str(), "fy") == 0) AppendWithin(camera.fy, value, 31);
    else if (strcasecmp(key.c_str(), "CanRead") == 0) camera.canRead = Integer(std::string(value));
  }
  return camera;
}
