#include "library/session/notify_datagram.h"

#include <cstdio>
#include <vector>

#include "sentrell.h"

const char* NotifyKeyWord(std::uint32_t id) {
  switch (id) {
    case NOTIFY_NODEMSG: return "NODEMSG";
    case NOTIFY_NVSLIST: return "NVSLIST";
    case NOTIFY_WARNMSG: return "WARNMSG";
    case NOTIFY_NODLIST: return "NODLIST";
    case NOTIFY_ROUTING: return "ROUTING";
    case NOTIFY_SNAPMSG: return "SNAPMSG";
    default: return "";
  }
}

std::optional<std::string> FormatNotifyDatagram(std::uint32_t id, std::optional<std::string_view> text) {
  std::vector<char> datagram(kNotifyDatagramCapacity, '\0');
  const std::string data = text ? std::string(*text) : std::string("(null)");
  const int written =
      std::snprintf(datagram.data(), datagram.size(), "VER=2.1&MSG=%s&DAT=%s", NotifyKeyWord(id), data.c_str());
  if (written < 0 || static_cast<std::size_t>(written) + 1 > datagram.size()) return std::nullopt;
  return std::string(datagram.data(), static_cast<std::size_t>(written) + 1);
}
