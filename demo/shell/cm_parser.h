#pragma once
// The program's reader of the library's JSON message texts. Every reader
// parses the whole text and returns one item; nothing is kept between calls,
// so the readers may be called from any thread. No reader throws: a text
// that does not parse, a missing member or a value of another kind gives
// 0, false, "", no text or no items.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <json/json.h>

class CCMParser {
 public:
  virtual ~CCMParser() = default;

  // Longest message text whose value text is read.
  static constexpr std::size_t kValueTextLimit = 4096;

  static std::uint32_t GetVersion(std::string_view text);
  static std::uint32_t GetNvsID(std::string_view text);
  static std::uint32_t GetNetID(std::string_view text);
  static std::uint32_t GetNodID(std::string_view text);
  static std::optional<std::string> GetDeviceType(std::string_view text);
  static std::optional<std::string> GetMessage(std::string_view text);

  static bool IsDataElement(std::string_view text, std::string_view name);
  static Json::Value GetDataElement(std::string_view text, std::string_view name);
  static Json::Value GetDataElementField(std::string_view text, std::string_view name, std::string_view field);
  static std::string GetDataElementUnit(std::string_view text, std::string_view name);
  static std::string GetDataElementType(std::string_view text, std::string_view name);
  static std::string GetDataElementSubType(std::string_view text, std::string_view name);
  static int GetDataElementPrecision(std::string_view text, std::string_view name);
  static int GetDataElementValueInt(std::string_view text, std::string_view name);
  static std::uint32_t GetDataElementValueUInt(std::string_view text, std::string_view name);
  static std::uint64_t GetDataElementValueUInt64(std::string_view text, std::string_view name);
  static float GetDataElementValueFloat(std::string_view text, std::string_view name);
  // No text for a message text longer than kValueTextLimit bytes.
  static std::optional<std::string> GetDataElementValueString(std::string_view text, std::string_view name);

  // Write the array's items into `out` from index 0 and return how many were
  // written: at most out.size(). An item of another kind is written as 0.
  static int GetDataElementValueArrayInt(std::string_view text, std::string_view name, std::span<int> out);
  static int GetDataElementValueArrayUInt(std::string_view text, std::string_view name, std::span<std::uint32_t> out);
  static int GetDataElementValueArrayFloat(std::string_view text, std::string_view name, std::span<float> out);
};
