#include "library/api/message_readers.h"

#include <cstring>

#include <json/json.h>

#include "library/api/json_parse.h"

namespace {

std::optional<Json::Value> Parse(const char* text) {
  if (text == nullptr) return std::nullopt;
  return ParseJsonObject(std::string_view(text, std::strlen(text)));
}

// The member of an object, or nullptr.
const Json::Value* Member(const Json::Value& object, const char* name) {
  if (name == nullptr || !object.isObject()) return nullptr;
  return object.find(name, name + std::strlen(name));
}

// Calls `read` with the member of "data"[name] of the text, when there is one.
template <class Result, class Read>
Result WithElementMember(const char* text, const char* name, const char* member, Result absent, Read read) {
  const std::optional<Json::Value> root = Parse(text);
  if (!root) return absent;
  const Json::Value* data = Member(*root, "data");
  const Json::Value* element = data ? Member(*data, name) : nullptr;
  const Json::Value* value = element ? Member(*element, member) : nullptr;
  return value ? read(*value) : absent;
}

std::optional<std::string> AsString(const Json::Value& value) {
  if (!value.isString()) return std::nullopt;
  return value.asString();
}

std::uint32_t AsUInt(const Json::Value& value) {
  return value.isConvertibleTo(Json::uintValue) ? value.asUInt() : 0;
}

std::int32_t AsInt(const Json::Value& value) {
  return value.isConvertibleTo(Json::intValue) ? value.asInt() : 0;
}

float AsFloat(const Json::Value& value) {
  return value.isConvertibleTo(Json::realValue) ? value.asFloat() : 0.0f;
}

}  // namespace

std::uint32_t ReadHeaderUInt(const char* text, const char* member) {
  const std::optional<Json::Value> root = Parse(text);
  const Json::Value* value = root ? Member(*root, member) : nullptr;
  return value ? AsUInt(*value) : 0;
}

std::optional<std::string> ReadHeaderString(const char* text, const char* member) {
  const std::optional<Json::Value> root = Parse(text);
  const Json::Value* value = root ? Member(*root, member) : nullptr;
  return value ? AsString(*value) : std::nullopt;
}

bool HasDataElement(const char* text, const char* name) {
  const std::optional<Json::Value> root = Parse(text);
  const Json::Value* data = root ? Member(*root, "data") : nullptr;
  return data != nullptr && Member(*data, name) != nullptr;
}

std::optional<std::string> ReadElementString(const char* text, const char* name, const char* member) {
  return WithElementMember(text, name, member, std::optional<std::string>(), AsString);
}

std::int32_t ReadElementInt(const char* text, const char* name, const char* member) {
  return WithElementMember(text, name, member, std::int32_t{0}, AsInt);
}

std::uint32_t ReadElementUInt(const char* text, const char* name, const char* member) {
  return WithElementMember(text, name, member, std::uint32_t{0}, AsUInt);
}

float ReadElementFloat(const char* text, const char* name, const char* member) {
  return WithElementMember(text, name, member, 0.0f, AsFloat);
}

std::vector<float> ReadElementFloatArray(const char* text, const char* name, const char* member) {
  return WithElementMember(text, name, member, std::vector<float>(), [](const Json::Value& value) {
    std::vector<float> items;
    if (!value.isArray()) return items;
    items.reserve(value.size());
    for (const Json::Value& item : value) items.push_back(AsFloat(item));
    return items;
  });
}
