#include "demo/shell/cm_parser.h"

#include <cmath>
#include <limits>
#include <memory>

#include "demo/shell/debug_trace.h"

namespace {

// The whole text as a value tree; a null value when it does not parse.
Json::Value Parse(std::string_view text) {
  Json::CharReaderBuilder builder;
  builder["collectComments"] = true;
  builder["allowComments"] = true;
  builder["strictRoot"] = false;
  builder["failIfExtra"] = false;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  try {
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return Json::Value();
  } catch (const std::exception&) {
    // Nesting beyond the reader's depth limit.
    return Json::Value();
  }
  return root;
}

// A member of an object; null when `object` is not an object or lacks it.
Json::Value Member(const Json::Value& object, std::string_view name) {
  if (!object.isObject()) return Json::Value();
  const Json::Value* found = object.find(name.data(), name.data() + name.size());
  return found != nullptr ? *found : Json::Value();
}

Json::Value Element(const Json::Value& root, std::string_view name) {
  return Member(Member(root, "data"), name);
}

Json::Value Field(std::string_view text, std::string_view name, std::string_view field) {
  return Member(Element(Parse(text), name), field);
}

std::uint32_t AsUInt(const Json::Value& value) {
  return value.isConvertibleTo(Json::uintValue) ? value.asUInt() : 0;
}

int AsInt(const Json::Value& value) { return value.isConvertibleTo(Json::intValue) ? value.asInt() : 0; }

float NarrowToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

float AsFloat(const Json::Value& value) {
  return value.isConvertibleTo(Json::realValue) ? NarrowToFloat(value.asDouble()) : 0.0f;
}

std::optional<std::string> AsText(const Json::Value& value) {
  if (!value.isString()) return std::nullopt;
  return value.asString();
}

template <typename T, typename Convert>
int ReadArray(std::string_view text, std::string_view name, std::span<T> out, Convert convert) {
  const Json::Value value = Field(text, name, "value");
  if (!value.isArray()) return 0;
  const Json::ArrayIndex size = value.size();
  std::size_t written = 0;
  for (Json::ArrayIndex i = 0; i < size && written < out.size(); ++i) out[written++] = convert(value[i]);
  return static_cast<int>(written);
}

}  // namespace

std::uint32_t CCMParser::GetVersion(std::string_view text) { return AsUInt(Member(Parse(text), "version")); }
std::uint32_t CCMParser::GetNvsID(std::string_view text) { return AsUInt(Member(Parse(text), "nvsid")); }
std::uint32_t CCMParser::GetNetID(std::string_view text) { return AsUInt(Member(Parse(text), "netid")); }
std::uint32_t CCMParser::GetNodID(std::string_view text) { return AsUInt(Member(Parse(text), "nodid")); }

std::optional<std::string> CCMParser::GetDeviceType(std::string_view text) {
  return AsText(Member(Parse(text), "devtype"));
}

std::optional<std::string> CCMParser::GetMessage(std::string_view text) { return AsText(Member(Parse(text), "msg")); }

bool CCMParser::IsDataElement(std::string_view text, std::string_view name) {
  const Json::Value data = Member(Parse(text), "data");
  return data.isObject() && data.find(name.data(), name.data() + name.size()) != nullptr;
}

Json::Value CCMParser::GetDataElement(std::string_view text, std::string_view name) {
  return Element(Parse(text), name);
}

Json::Value CCMParser::GetDataElementField(std::string_view text, std::string_view name, std::string_view field) {
  return Field(text, name, field);
}

std::string CCMParser::GetDataElementUnit(std::string_view text, std::string_view name) {
  return AsText(Field(text, name, "unit")).value_or(std::string());
}

std::string CCMParser::GetDataElementType(std::string_view text, std::string_view name) {
  return AsText(Field(text, name, "type")).value_or(std::string());
}

std::string CCMParser::GetDataElementSubType(std::string_view text, std::string_view name) {
  return AsText(Field(text, name, "subtype")).value_or(std::string());
}

int CCMParser::GetDataElementPrecision(std::string_view text, std::string_view name) {
  return AsInt(Field(text, name, "precision"));
}

int CCMParser::GetDataElementValueInt(std::string_view text, std::string_view name) {
  return AsInt(Field(text, name, "value"));
}

std::uint32_t CCMParser::GetDataElementValueUInt(std::string_view text, std::string_view name) {
  return AsUInt(Field(text, name, "value"));
}

std::uint64_t CCMParser::GetDataElementValueUInt64(std::string_view text, std::string_view name) {
  const Json::Value value = Field(text, name, "value");
  // Meter numbers reach 16 decimal digits: read every non-negative integer
  // that fits 64 bits, not only those that fit 32.
  if (value.isUInt64() || value.isConvertibleTo(Json::uintValue)) return value.asUInt64();
  if (value.isDouble()) {
    const double real = value.asDouble();
    if (real >= 0.0 && real < 18446744073709551616.0) return static_cast<std::uint64_t>(real);
  }
  return 0;
}

float CCMParser::GetDataElementValueFloat(std::string_view text, std::string_view name) {
  return AsFloat(Field(text, name, "value"));
}

std::optional<std::string> CCMParser::GetDataElementValueString(std::string_view text, std::string_view name) {
  if (text.size() > kValueTextLimit) {
    DebugTrace("CCMParser::GetDataElementValueString: Overflow!!!");
    return std::nullopt;
  }
  return AsText(Field(text, name, "value"));
}

int CCMParser::GetDataElementValueArrayInt(std::string_view text, std::string_view name, std::span<int> out) {
  return ReadArray(text, name, out, AsInt);
}

int CCMParser::GetDataElementValueArrayUInt(std::string_view text, std::string_view name,
                                            std::span<std::uint32_t> out) {
  return ReadArray(text, name, out, AsUInt);
}

int CCMParser::GetDataElementValueArrayFloat(std::string_view text, std::string_view name, std::span<float> out) {
  return ReadArray(text, name, out, AsFloat);
}
