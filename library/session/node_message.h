#pragma once
// The text of one device reply of at most 4096 bytes with its NUL, written
// member by member through the JSON message builders. The members are kept
// between calls and the text written once (JsonNodeMessage::Way::kTree);
// Way::kText runs the builders on the text itself, with the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "library/api/json_message.h"
#include "library/session/iot_reply.h"

class NodeMessage {
 public:
  static constexpr std::size_t kCapacity = 4096;

  explicit NodeMessage(const IotReply& reply, JsonNodeMessage::Way way = JsonNodeMessage::Way::kTree)
      : reply_(reply), text_(kCapacity, way) {}

  // The header: version 2, the reply's gateway and node, and the two words.
  void Header(const char* devtype, const char* msg);
  // A string element: empty unit and subtype, type "string", precision 0.
  void String(const char* name, const char* value);
  // A string element with its own unit, type, subtype and precision.
  void String(const char* name, const char* unit, const char* type, const char* subtype, int precision,
              const char* value);
  void Element(const char* name, const char* unit, const char* type, const char* subtype, int precision,
               std::int32_t value);
  void UInt(const char* name, const char* unit, const char* type, const char* subtype, int precision,
            std::uint32_t value);
  void UInt64(const char* name, const char* unit, const char* type, const char* subtype, int precision,
              std::uint64_t value);
  void Float(const char* name, const char* unit, const char* type, const char* subtype, int precision, float value);
  void FloatArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                  const float* values, std::size_t count);
  void IntArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                const std::int32_t* values, std::size_t count);
  void UIntArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                 const std::uint32_t* values, std::size_t count);

  bool Empty() const { return text_.Empty(); }
  std::string Text() const { return text_.Text(); }
  const IotReply& Reply() const { return reply_; }
  PayloadReader Payload() const { return PayloadReader(reply_.payload); }

 private:
  const IotReply& reply_;
  JsonNodeMessage text_;
};

// Chooses the text for a word by index; an index outside the table gives "".
template <std::size_t N>
const char* WordOf(const char* const (&words)[N], std::size_t index) {
  return index < N ? words[index] : "";
}
