#include "library/api/json_parse.h"

#include <memory>
#include <string>

namespace {

const Json::CharReaderBuilder& ReaderBuilder() {
  static const Json::CharReaderBuilder builder = [] {
    Json::CharReaderBuilder b;
    b["collectComments"] = false;  // the texts are rewritten without them
    return b;
  }();
  return builder;
}

}  // namespace

std::optional<Json::Value> ParseJsonObject(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const std::unique_ptr<Json::CharReader> reader(ReaderBuilder().newCharReader());
  Json::Value root;
  std::string errors;
  try {
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return std::nullopt;
  } catch (const Json::Exception&) {
    return std::nullopt;  // nesting deeper than the reader's stack limit
  }
  if (!root.isObject()) return std::nullopt;
  return root;
}
