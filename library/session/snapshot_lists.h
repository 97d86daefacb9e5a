#pragma once
// The auto-snapshot setting of a gateway in its two forms: the JSON object
// the application gives and receives, and the node lines the server takes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <json/json.h>

// The lines "netid:nodid:nodetype:0:cmd,cmd\n" of a setting text, with the
// gateway it names; nothing when the text does not parse, "nodelist" is not
// an array, or a node or its values are not what they should be.
struct SnapshotSetting {
  std::uint32_t nvsid = 0;
  std::string lines;
};
std::optional<SnapshotSetting> SnapshotLinesOf(std::string_view json);

// The JSON object of a gateway's node lines (the inverse of SnapshotLinesOf).
Json::Value BuildNodeListJson(std::uint32_t nvsid, std::string_view lines);
