#include "library/session/snapshot_lists.h"

#include <cstdio>
#include <cstdlib>

#include "library/api/json_parse.h"

namespace {

constexpr std::size_t kMaxLines = 4096;  // bytes of all node lines together
constexpr std::size_t kMaxCmdText = 127;

std::uint32_t AsUInt(const Json::Value& v) {
  if (v.isUInt()) return v.asUInt();
  if (v.isInt()) return static_cast<std::uint32_t>(v.asInt());
  return 0;
}

int AsInt(const Json::Value& v) { return v.isInt() ? v.asInt() : v.isUInt() ? static_cast<int>(v.asUInt()) : 0; }

}  // namespace

std::optional<SnapshotSetting> SnapshotLinesOf(std::string_view json) {
  const auto root = ParseJsonObject(json);
  if (!root) return std::nullopt;
  const Json::Value& nodes = (*root)["nodelist"];
  if (!nodes.isArray()) return std::nullopt;
  SnapshotSetting setting;
  setting.nvsid = AsUInt((*root)["nvsid"]);
  const int netId = AsInt((*root)["netid"]);
  for (const Json::Value& node : nodes) {
    if (!node.isObject()) return std::nullopt;
    std::string commands;
    const Json::Value& list = node["cmdlist"];
    if (list.isArray()) {
      for (const Json::Value& cmd : list) {
        char number[16];
        const int n = std::snprintf(number, sizeof number, commands.empty() ? "%d" : ",%d", AsInt(cmd));
        commands.append(number, static_cast<std::size_t>(n));
      }
    }
    if (commands.size() > kMaxCmdText) return std::nullopt;
    char line[256];
    std::snprintf(line, sizeof line, "%d:%d:%d:0:%s\n", netId, AsInt(node["nodid"]), AsInt(node["nodetype"]),
                  commands.empty() ? "0" : commands.c_str());
    setting.lines += line;
    if (setting.lines.size() > kMaxLines) return std::nullopt;
  }
  return setting;
}

Json::Value BuildNodeListJson(std::uint32_t nvsid, std::string_view lines) {
  Json::Value root(Json::objectValue);
  Json::Value nodes(Json::nullValue);
  int netId = 0;
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find('\n', start);
    if (end == std::string_view::npos) end = lines.size();
    const std::string line(lines.substr(start, end - start));
    start = end + 1;
    if (line.empty()) break;
    int net = 0, nodid = 0, type = 0, unused = 0;
    char commands[kMaxCmdText + 1] = {};
    if (std::sscanf(line.c_str(), "%d:%d:%d:%d:%127s", &net, &nodid, &type, &unused, commands) < 4) continue;
    netId = net;
    Json::Value node(Json::objectValue);
    node["nodid"] = static_cast<Json::UInt>(nodid);
    node["nodetype"] = static_cast<Json::UInt>(type);
    node["snaptype"] = 0;
    Json::Value list(Json::arrayValue);
    for (const char* p = commands; *p;) {
      char* next = nullptr;
      const long value = std::strtol(p, &next, 10);
      if (next == p) break;
      list.append(static_cast<Json::Int>(value));
      p = *next == ',' ? next + 1 : next;
      if (*next != ',') break;
    }
    node["cmdlist"] = list;
    if (nodes.isNull()) nodes = Json::Value(Json::arrayValue);
    nodes.append(node);
  }
  root["nodelist"] = nodes;
  root["ver"] = 1;
  root["nvsid"] = static_cast<Json::UInt>(nvsid);
  root["netid"] = netId;
  return root;
}
