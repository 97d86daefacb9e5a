#pragma once
// Message texts of device replies in the form the library writes them.
#include <string>
#include <utility>
#include <vector>

namespace demotest {

struct ReplyNode {
  unsigned nvsid = 1000001;
  unsigned netid = 1;
  unsigned nodid = 1;
};

// {"data":{<name>:{"precision":0,...,"value":"<text>"},...},"devtype":...,"version":2}
// followed by the line feed the library ends its texts with.
inline std::string NodeReply(const std::string& devtype, const std::string& msg,
                             const std::vector<std::pair<std::string, std::string>>& strings = {},
                             ReplyNode node = {}) {
  std::string data;
  for (const auto& [name, value] : strings) {
    if (!data.empty()) data += ",";
    data += "\"" + name + "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"" +
            value + "\"}";
  }
  return "{\"data\":{" + data + "},\"devtype\":\"" + devtype + "\",\"msg\":\"" + msg +
         "\",\"netid\":" + std::to_string(node.netid) + ",\"nodid\":" + std::to_string(node.nodid) +
         ",\"nvsid\":" + std::to_string(node.nvsid) + ",\"version\":2}\n";
}

// The datagram the library sends for a notification: "VER=2.1&MSG=%s&DAT=%s" and a NUL.
inline std::string LibraryDatagram(const std::string& kind, const std::string& data) {
  std::string datagram = "VER=2.1&MSG=" + kind + "&DAT=" + data;
  datagram.push_back('\0');
  return datagram;
}

}  // namespace demotest
