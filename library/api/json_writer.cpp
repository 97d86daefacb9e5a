#include "library/api/json_writer.h"

#include <charconv>

#include "library/api/json_real.h"

namespace {

// The escape of one byte, or an empty view when the byte stands for itself.
std::string_view ShortEscape(unsigned char c) {
  switch (c) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\b': return "\\b";
    case '\f': return "\\f";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: return {};
  }
}

constexpr std::size_t kHexEscapeLength = 6;  // \u00XX

template <class Integer>
void AppendInteger(std::string& out, Integer value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendString(std::string& out, const Json::Value& value) {
  const char* begin = nullptr;
  const char* end = nullptr;
  out += '"';
  if (value.getString(&begin, &end)) AppendJsonStringContent(out, std::string_view(begin, end - begin));
  out += '"';
}

void AppendValue(std::string& out, const Json::Value& value);

void AppendArray(std::string& out, const Json::Value& value) {
  out += '[';
  for (Json::ArrayIndex i = 0; i < value.size(); ++i) {
    if (i > 0) out += ',';
    AppendValue(out, value[i]);
  }
  out += ']';
}

void AppendObject(std::string& out, const Json::Value& value) {
  // JsonCpp keeps the members ordered by memcmp of their names, the shorter
  // name first on a common start: ascending byte order already.
  out += '{';
  bool first = true;
  for (auto it = value.begin(); it != value.end(); ++it) {
    if (!first) out += ',';
    first = false;
    const char* end = nullptr;
    const char* name = it.memberName(&end);
    out += '"';
    AppendJsonStringContent(out, std::string_view(name, static_cast<std::size_t>(end - name)));
    out += "\":";
    AppendValue(out, *it);
  }
  out += '}';
}

void AppendValue(std::string& out, const Json::Value& value) {
  switch (value.type()) {
    case Json::nullValue: out += "null"; break;
    case Json::intValue: AppendInteger(out, value.asLargestInt()); break;
    case Json::uintValue: AppendInteger(out, value.asLargestUInt()); break;
    case Json::realValue: out += FormatJsonReal(value.asDouble()); break;
    case Json::stringValue: AppendString(out, value); break;
    case Json::booleanValue: out += value.asBool() ? "true" : "false"; break;
    case Json::arrayValue: AppendArray(out, value); break;
    case Json::objectValue: AppendObject(out, value); break;
  }
}

}  // namespace

void AppendJsonStringContent(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (const std::string_view escape = ShortEscape(c); !escape.empty()) {
      out += escape;
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += byte;
    }
  }
}

std::size_t JsonStringContentLength(std::string_view bytes) {
  std::size_t length = 0;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (const std::string_view escape = ShortEscape(c); !escape.empty()) {
      length += escape.size();
    } else {
      length += c < 0x20 ? kHexEscapeLength : 1;
    }
  }
  return length;
}

void AppendCompactJson(std::string& out, const Json::Value& value) { AppendValue(out, value); }

std::string WriteCompactJson(const Json::Value& root) {
  std::string out;
  AppendValue(out, root);
  out += '\n';
  return out;
}
