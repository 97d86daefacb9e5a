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

// The buffer that the builders merge into.
struct BufferTarget {
  char* buffer;
  std::size_t capacity;

  template <class SetMembers>
  int EditHeader(SetMembers setMembers) {
    return Merge(buffer, capacity, [&](Json::Value& root) {
      setMembers(root);
      return true;
    });
  }

  template <class SetMembers>
  int EditElement(const char* name, bool replace, SetMembers setMembers) {
    return Merge(buffer, capacity, [&](Json::Value& root) {
      Json::Value* data = DataObject(root);
      if (data == nullptr) return false;
      Json::Value& element = replace ? ((*data)[name] = Json::Value(Json::objectValue)) : ElementObject(*data, name);
      setMembers(element);
      return true;
    });
  }
};

Json::Value ArrayItem(float value) { return Json::Value(static_cast<double>(value)); }
Json::Value ArrayItem(std::int32_t value) { return Json::Value(value); }
Json::Value ArrayItem(std::uint32_t value) { return Json::Value(value); }

void SetMeta(Json::Value& element, const Meta& meta) {
  element["unit"] = meta.unit;
  element["type"] = meta.type;
  element["subtype"] = meta.subtype;
  element["precision"] = meta.precision;
}

}  // namespace

// Every builder once, on either target.
struct JsonMessageEdits {
  template <class Target>
  static int Header(Target& target, std::uint32_t version, std::uint32_t nvsid, std::uint32_t netid,
                    std::uint32_t nodid, const char* devtype, const char* msg) {
    if (!AllTexts({devtype, msg})) return kNotWritten;
    return target.EditHeader([&](Json::Value& root) {
      root["version"] = Json::UInt(version);
      root["nvsid"] = Json::UInt(nvsid);
      root["netid"] = Json::UInt(netid);
      root["nodid"] = Json::UInt(nodid);
      root["devtype"] = devtype;
      root["msg"] = msg;
    });
  }

  template <class Target>
  static int Element(Target& target, const char* name, const Meta& meta, std::int32_t value) {
    if (!AllTexts({name, meta.unit, meta.type, meta.subtype})) return kNotWritten;
    return target.EditElement(name, true, [&](Json::Value& element) {
      SetMeta(element, meta);
      element["value"] = value;
    });
  }

  // Meta members first, then the value, as every combined setter does.
  template <class Target, class SetValue>
  static int Combined(Target& target, const char* name, const Meta& meta, SetValue setValue) {
    if (!AllTexts({name, meta.unit, meta.type, meta.subtype})) return kNotWritten;
    return target.EditElement(name, false, [&](Json::Value& element) {
      SetMeta(element, meta);
      setValue(element);
    });
  }

  template <class Target>
  static int String(Target& target, const char* name, const Meta& meta, const char* value) {
    if (value == nullptr) return kNotWritten;
    return Combined(target, name, meta, [&](Json::Value& element) { element["value"] = value; });
  }

  template <class Target, class Value>
  static int Number(Target& target, const char* name, const Meta& meta, Value value) {
    return Combined(target, name, meta, [&](Json::Value& element) { element["value"] = value; });
  }

  template <class Target, class Item>
  static int Array(Target& target, const char* name, const Meta& meta, const Item* values, std::size_t count) {
    if (count > kMaxArrayElements || (count > 0 && values == nullptr)) return kNotWritten;
    return Combined(target, name, meta, [&](Json::Value& element) {
      if (count == 0) return;
      Json::Value& array = element["value"];
      if (!array.isArray()) array = Json::Value(Json::arrayValue);
      for (std::size_t i = 0; i < count; ++i) array[static_cast<Json::ArrayIndex>(i)] = ArrayItem(values[i]);
    });
  }
};

int BuildMessageHeader(char* buffer, std::size_t capacity, std::uint32_t version, std::uint32_t nvsid,
                       std::uint32_t netid, std::uint32_t nodid, const char* devtype, const char* msg) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Header(target, version, nvsid, netid, nodid, devtype, msg);
}

int SetDataElement(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                   const char* subtype, int precision, std::int32_t value) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Element(target, name, {unit, type, subtype, precision}, value);
}

int SetDataElementMeta(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                       const char* subtype, int precision) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Combined(target, name, {unit, type, subtype, precision}, [](Json::Value&) {});
}

int SetDataElementString(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                         const char* subtype, int precision, const char* value) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::String(target, name, {unit, type, subtype, precision}, value);
}

int SetDataElementUInt(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                       const char* subtype, int precision, std::uint32_t value) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Number(target, name, {unit, type, subtype, precision}, Json::UInt(value));
}

int SetDataElementUInt64(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                         const char* subtype, int precision, std::uint64_t value) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Number(target, name, {unit, type, subtype, precision}, Json::UInt64(value));
}

int SetDataElementFloat(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                        const char* subtype, int precision, float value) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Number(target, name, {unit, type, subtype, precision}, static_cast<double>(value));
}

int SetDataElementFloatArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                             const char* type, const char* subtype, int precision, const float* values,
                             std::size_t count) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Array(target, name, {unit, type, subtype, precision}, values, count);
}

int SetDataElementIntArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                           const char* type, const char* subtype, int precision, const std::int32_t* values,
                           std::size_t count) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Array(target, name, {unit, type, subtype, precision}, values, count);
}

int SetDataElementUIntArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                            const char* type, const char* subtype, int precision, const std::uint32_t* values,
                            std::size_t count) {
  BufferTarget target{buffer, capacity};
  return JsonMessageEdits::Array(target, name, {unit, type, subtype, precision}, values, count);
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

JsonNodeMessage::JsonNodeMessage(std::size_t capacity, Way way) : capacity_(capacity), way_(way) {
  if (way_ == Way::kText) buffer_.assign(capacity_, '\0');
}

std::size_t JsonNodeMessage::TextLength(std::size_t headerLength, std::size_t headerCount, std::size_t count,
                                        std::size_t members) {
  constexpr std::size_t kDataKey = sizeof "\"data\":" - 1;
  std::size_t length = headerLength + 1;  // the line feed
  if (count > 0 || members > 0) {
    const std::size_t data = 2 + members + (count > 0 ? count - 1 : 0);
    length += kDataKey + data + (headerCount > 0 ? 1 : 0);
  }
  return length;
}

template <class SetMembers>
int JsonNodeMessage::EditHeader(SetMembers setMembers) {
  if (way_ == Way::kText) {
    BufferTarget target{buffer_.data(), capacity_};
    return target.EditHeader(setMembers);
  }
  Json::Value next = header_;
  setMembers(next);
  std::string text;
  AppendCompactJson(text, next);
  const std::size_t length =
      hasData_ ? TextLength(text.size(), next.size(), elements_.size(), elementMembers_) : text.size() + 1;
  if (capacity_ == 0 || length > capacity_ - 1) return kNotWritten;
  header_ = std::move(next);
  headerText_ = std::move(text);
  written_ = true;
  return kWritten;
}

template <class SetMembers>
int JsonNodeMessage::EditElement(const char* name, bool replace, SetMembers setMembers) {
  if (way_ == Way::kText) {
    BufferTarget target{buffer_.data(), capacity_};
    return target.EditElement(name, replace, setMembers);
  }
  const auto found = elements_.find(name);
  const bool present = found != elements_.end();
  DataElement next{!replace && present ? found->second.value : Json::Value(Json::objectValue), {}};
  setMembers(next.value);
  AppendCompactJson(next.text, next.value);
  const std::size_t key = JsonStringContentLength(name) + 3;  // "name":
  const std::size_t members =
      elementMembers_ - (present ? key + found->second.text.size() : 0) + key + next.text.size();
  const std::size_t count = elements_.size() + (present ? 0 : 1);
  const std::size_t length = TextLength(headerText_.size(), header_.size(), count, members);
  if (capacity_ == 0 || length > capacity_ - 1) return kNotWritten;
  if (present)
    found->second = std::move(next);
  else
    elements_.emplace(name, std::move(next));
  elementMembers_ = members;
  hasData_ = true;
  written_ = true;
  return kWritten;
}

bool JsonNodeMessage::Empty() const { return way_ == Way::kText ? buffer_.empty() || buffer_[0] == '\0' : !written_; }

void JsonNodeMessage::AppendData(std::string& out) const {
  out += '{';
  bool first = true;
  for (const auto& [name, element] : elements_) {
    if (!first) out += ',';
    first = false;
    out += '"';
    AppendJsonStringContent(out, name);
    out += "\":";
    out += element.text;
  }
  out += '}';
}

std::string JsonNodeMessage::Text() const {
  if (way_ == Way::kText)
    return buffer_.empty() ? std::string() : std::string(buffer_.data(), strnlen(buffer_.data(), buffer_.size()));
  if (!written_) return {};
  std::string out;
  out.reserve(TextLength(headerText_.size(), header_.size(), elements_.size(), elementMembers_));
  if (!hasData_) return out.append(headerText_) += '\n';
  // The root's members in ascending byte order of their names, as
  // WriteCompactJson orders them: "data" sorts before every word of the
  // header ("devtype" ... "version"), whose own text then follows unchanged.
  out += "{\"data\":";
  AppendData(out);
  if (header_.empty())
    out += '}';
  else
    out.append(",").append(headerText_, 1);
  return out += '\n';
}

int JsonNodeMessage::Header(std::uint32_t version, std::uint32_t nvsid, std::uint32_t netid, std::uint32_t nodid,
                            const char* devtype, const char* msg) {
  return JsonMessageEdits::Header(*this, version, nvsid, netid, nodid, devtype, msg);
}

int JsonNodeMessage::Element(const char* name, const char* unit, const char* type, const char* subtype,
                             int precision, std::int32_t value) {
  return JsonMessageEdits::Element(*this, name, {unit, type, subtype, precision}, value);
}

int JsonNodeMessage::Meta(const char* name, const char* unit, const char* type, const char* subtype,
                          int precision) {
  return JsonMessageEdits::Combined(*this, name, {unit, type, subtype, precision}, [](Json::Value&) {});
}

int JsonNodeMessage::String(const char* name, const char* unit, const char* type, const char* subtype,
                            int precision, const char* value) {
  return JsonMessageEdits::String(*this, name, {unit, type, subtype, precision}, value);
}

int JsonNodeMessage::UInt(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                          std::uint32_t value) {
  return JsonMessageEdits::Number(*this, name, {unit, type, subtype, precision}, Json::UInt(value));
}

int JsonNodeMessage::UInt64(const char* name, const char* unit, const char* type, const char* subtype,
                            int precision, std::uint64_t value) {
  return JsonMessageEdits::Number(*this, name, {unit, type, subtype, precision}, Json::UInt64(value));
}

int JsonNodeMessage::Float(const char* name, const char* unit, const char* type, const char* subtype,
                           int precision, float value) {
  return JsonMessageEdits::Number(*this, name, {unit, type, subtype, precision}, static_cast<double>(value));
}

int JsonNodeMessage::FloatArray(const char* name, const char* unit, const char* type, const char* subtype,
                                int precision, const float* values, std::size_t count) {
  return JsonMessageEdits::Array(*this, name, {unit, type, subtype, precision}, values, count);
}

int JsonNodeMessage::IntArray(const char* name, const char* unit, const char* type, const char* subtype,
                              int precision, const std::int32_t* values, std::size_t count) {
  return JsonMessageEdits::Array(*this, name, {unit, type, subtype, precision}, values, count);
}

int JsonNodeMessage::UIntArray(const char* name, const char* unit, const char* type, const char* subtype,
                               int precision, const std::uint32_t* values, std::size_t count) {
  return JsonMessageEdits::Array(*this, name, {unit, type, subtype, precision}, values, count);
}
