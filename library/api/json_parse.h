#pragma once
// Reading a message text back into a value tree: JsonCpp's reader with its
// default features (comments allowed, any value as root, text after the
// first value ignored, nesting limited to 1000 levels). Only an object
// counts as a message document.
#include <json/json.h>

#include <optional>
#include <string_view>

// The root object of the text; nothing when the text is no JSON document or
// its root is not an object.
std::optional<Json::Value> ParseJsonObject(std::string_view text);
