#include "library/api/json_message.h"

#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include <json/json.h>

#include "library/api/json_parse.h"
#include "library/api/json_writer.h"
#include "platform/code_page.h"

namespace {

constexpr int kWritten = 0;
constexpr int kNotWritten = -1;

bool AllTexts(std::initializer_list<const char*> texts) {
  for (const char* text : texts)
    if (text == nullptr) return false;
  return true;
}

// Copies the text and its NUL to buffer + offset when it fits.
int StoreText(char* buffer, std::size_t capacity, std::size_t offset, const std::string& text) {
  if (offset > capacity || capacity - offset < text.size() + 1) return kNotWritten;
  std::memcpy(buffer + offset, text.data(), text.size());
  buffer[offset + text.size()] = '\0';
  return kWritten;
}

// The merge of one builder call. `apply` sets the call's members on the root
// object and returns false when the document cannot take them; the members
// then go into a new object after the buffer's text.
template <class Apply>
int Merge(char* buffer, std::size_t capacity, Apply apply) {
  if (buffer == nullptr || capacity == 0) return kNotWritten;
  const std::size_t length = strnlen(buffer, capacity);
  std::optional<Json::Value> parsed = ParseJsonObject(std::string_view(buffer, length));
  bool document = parsed.has_value();
  Json::Value root = document ? std::move(*parsed) : Json::Value(Json::objectValue);
  if (!apply(root)) {
    document = false;
    root = Json::Value(Json::objectValue);
    apply(root);
  }
  return StoreText(buffer, capacity, document ? 0 : length, WriteCompactJson(root));
}

// The "data" object of the root, created when absent; nullptr when the root
// holds a "data" of another kind.
Json::Value* DataObject(Json::Value& root) {
  Json::Value& data = root["data"];
  if (data.isNull()) data = Json::Value(Json::objectValue);
  return data.isObject() ? &data : nullptr;
}

Json::Value& ElementObject(Json::Value& data, const char* name) {
  Json::Value& element = data[name];
  if (!element.isObject()) element = Json::Value(Json::objectValue);
  return element;
}

struct Meta {
  const char* unit;
  const char* type;
  const char* subtype;
  int precision;
};

// Meta members first, then the value, as every combined setter does.
template <class SetValue>
int SetElement(char* buffer, std::size_t capacity, const char* name, const Meta& meta, SetValue setValue) {
  if (!AllTexts({name, meta.unit, meta.type, meta.subtype})) return kNotWritten;
  return Merge(buffer, capacity, [&](Json::Value& root) {
    Json::Value* data = DataObject(root);
    if (data == nullptr) return false;
    Json::Value& element = ElementObject(*data, name);
    element["unit"] = meta.unit;
    element["type"] = meta.type;
    element["subtype"] = meta.subtype;
    element["precision"] = meta.precision;
    setValue(element);
    return true;
  });
}

Json::Value ArrayItem(float value) { return Json::Value(static_cast<double>(value)); }
Json::Value ArrayItem(std::int32_t value) { return Json::Value(value); }
Json::Value ArrayItem(std::uint32_t value) { return Json::Value(value); }

template <class Item>
int SetArray(char* buffer, std::size_t capacity, const char* name, const Meta& meta, const Item* values,
             std::size_t count) {
  if (count > kMaxArrayElements || (count > 0 && values == nullptr)) return kNotWritten;
  return SetElement(buffer, capacity, name, meta, [&](Json::Value& element) {
    if (count == 0) return;
    Json::Value& array = element["value"];
    if (!array.isArray()) array = Json::Value(Json::arrayValue);
    for (std::size_t i = 0; i < count; ++i) array[static_cast<Json::ArrayIndex>(i)] = ArrayItem(values[i]);
  });
}

}  // namespace

int BuildMessageHeader(char* buffer, std::size_t capacity, std::uint32_t version, std::uint32_t nvsid,
                       std::uint32_t netid, std::uint32_t nodid, const char* devtype, const char* msg) {
  if (!AllTexts({devtype, msg})) return kNotWritten;
  return Merge(buffer, capacity, [&](Json::Value& root) {
    root["version"] = Json::UInt(version);
    root["nvsid"] = Json::UInt(nvsid);
    root["netid"] = Json::UInt(netid);
    root["nodid"] = Json::UInt(nodid);
    root["devtype"] = devtype;
    root["msg"] = msg;
    return true;
  });
}

int SetDataElement(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                   const char* subtype, int precision, std::int32_t value) {
  if (!AllTexts({name, unit, type, subtype})) return kNotWritten;
  return Merge(buffer, capacity, [&](Json::Value& root) {
    Json::Value* data = DataObject(root);
    if (data == nullptr) return false;
    Json::Value element(Json::objectValue);
    element["unit"] = unit;
    element["type"] = type;
    element["subtype"] = subtype;
    element["precision"] = precision;
    element["value"] = value;
    (*data)[name] = std::move(element);
    return true;
  });
}

int SetDataElementMeta(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                       const char* subtype, int precision) {
  return SetElement(buffer, capacity, name, {unit, type, subtype, precision}, [](Json::Value&) {});
}

int SetDataElementString(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                         const char* subtype, int precision, const char* value) {
  if (value == nullptr) return kNotWritten;
  return SetElement(buffer, capacity, name, {unit, type, subtype, precision},
                    [&](Json::Value& element) { element["value"] = value; });
}

int SetDataElementUInt(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                       const char* subtype, int precision, std::uint32_t value) {
  return SetElement(buffer, capacity, name, {unit, type, subtype, precision},
                    [&](Json::Value& element) { element["value"] = Json::UInt(value); });
}

int SetDataElementUInt64(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                         const char* subtype, int precision, std::uint64_t value) {
  return SetElement(buffer, capacity, name, {unit, type, subtype, precision},
                    [&](Json::Value& element) { element["value"] = Json::UInt64(value); });
}

int SetDataElementFloat(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                        const char* subtype, int precision, float value) {
  return SetElement(buffer, capacity, name, {unit, type, subtype, precision},
                    [&](Json::Value& element) { element["value"] = static_cast<double>(value); });
}

int SetDataElementFloatArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                             const char* type, const char* subtype, int precision, const float* values,
                             std::size_t count) {
  return SetArray(buffer, capacity, name, {unit, type, subtype, precision}, values, count);
}

int SetDataElementIntArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                           const char* type, const char* subtype, int precision, const std::int32_t* values,
                           std::size_t count) {
  return SetArray(buffer, capacity, name, {unit, type, subtype, precision}, values, count);
}

int SetDataElementUIntArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                            const char* type, const char* subtype, int precision, const std::uint32_t* values,
                            std::size_t count) {
  return SetArray(buffer, capacity, name, {unit, type, subtype, precision}, values, count);
}

std::string BuildWarnMessage(std::uint32_t nvsid, std::uint32_t netid, std::uint32_t nodid, const char* time,
                             int type, const char* content) {
  if (!AllTexts({time, content})) return {};
  Json::Value root(Json::objectValue);
  root["content"] = "";
  root["netid"] = Json::UInt(netid);
  root["nodid"] = Json::UInt(nodid);
  root["nvsid"] = Json::UInt(nvsid);
  root["time"] = time;
  root["type"] = type;
  const std::size_t frame = WriteCompactJson(root).size();
  if (frame > kWarnMessageMaxLength) return {};
  // Whole characters of the content, as many as the bound leaves room for
  // once they are escaped.
  const std::string_view whole(content);
  const std::size_t room = kWarnMessageMaxLength - frame;
  std::size_t kept = 0;
  std::size_t used = 0;
  while (kept < whole.size()) {
    const std::size_t step = plat::CharLength(plat::kCodePageUtf8, whole.data() + kept, whole.data() + whole.size());
    const std::size_t cost = JsonStringContentLength(whole.substr(kept, step));
    if (used + cost > room) break;
    used += cost;
    kept += step;
  }
  root["content"] = std::string(whole.substr(0, kept));
  return WriteCompactJson(root);
}

int BuildCmdMessage(char* buffer, std::size_t capacity, int cmd, const char* content, std::uint32_t netid,
                    std::uint32_t nodid, int extdata) {
  if (buffer == nullptr || content == nullptr) return kNotWritten;
  Json::Value root(Json::objectValue);
  root["cmd"] = cmd;
  root["content"] = content;
  root["extdata"] = extdata;
  root["netid"] = Json::UInt(netid);
  root["nodid"] = Json::UInt(nodid);
  return StoreText(buffer, capacity, 0, WriteCompactJson(root));
}
