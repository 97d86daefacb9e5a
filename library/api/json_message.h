#pragma once
// Builders of the JSON message texts that notifications carry:
// - the node message (NODEMSG): "devtype", "msg", "netid", "nodid", "nvsid",
//   "version" and a "data" object of data elements, each with "precision",
//   "subtype", "type", "unit" and "value";
// - the warning message (WARNMSG): "content", "netid", "nodid", "nvsid",
//   "time", "type";
// - the command message (ROUTING): "cmd", "content", "extdata", "netid",
//   "nodid".
// Texts are UTF-8 in the notation of WriteCompactJson, ending in one line
// feed.
//
// The node-message builders merge into the text already in the caller's
// buffer: the text is parsed, this call's members are set, and the whole
// text is written again from the buffer's first byte. When the buffer holds
// no JSON object (an empty buffer, or other bytes), the new object holding
// only this call's members is written after the buffer's text instead; an
// element setter treats an object whose "data" is neither an object nor null
// the same way. A "data"[name] that is not an object is replaced.
// A text that would not fit `capacity` bytes with its NUL is not written at
// all: the buffer keeps its previous text and the builder returns -1.
// They return 0 when the text was written, -1 for a null buffer or text
// argument, a zero capacity, or a text that does not fit.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <json/json.h>

// The most elements the array setters take. A device reply carries at most
// 243 payload bytes, values from offset 4 on and at least 2 bytes each:
// (243 - 4) / 2 = 119.
constexpr std::size_t kMaxArrayElements = 119;

// The longest warning text in bytes, not counting its NUL.
constexpr std::size_t kWarnMessageMaxLength = 255;

// Sets the header members; "data" is left as it is (not created).
int BuildMessageHeader(char* buffer, std::size_t capacity, std::uint32_t version, std::uint32_t nvsid,
                       std::uint32_t netid, std::uint32_t nodid, const char* devtype, const char* msg);

// Replaces "data"[name] by a new element whose value is a signed number.
int SetDataElement(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                   const char* subtype, int precision, std::int32_t value);

// Sets "unit", "type", "subtype" and "precision" of "data"[name], creating the
// element when missing and keeping any "value" it has.
int SetDataElementMeta(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                       const char* subtype, int precision);

// SetDataElementMeta, then "value" as given.
int SetDataElementString(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                         const char* subtype, int precision, const char* value);
int SetDataElementUInt(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                       const char* subtype, int precision, std::uint32_t value);
int SetDataElementUInt64(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                         const char* subtype, int precision, std::uint64_t value);
// The float is written as the real it converts to exactly.
int SetDataElementFloat(char* buffer, std::size_t capacity, const char* name, const char* unit, const char* type,
                        const char* subtype, int precision, float value);

// SetDataElementMeta, then "value"[i] = values[i] for i below count. An
// existing array keeps its elements from count on; a count of 0 leaves
// "value" as it is (absent for a new element). A "value" that is not an array
// is replaced by one. More than kMaxArrayElements values give -1.
int SetDataElementFloatArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                             const char* type, const char* subtype, int precision, const float* values,
                             std::size_t count);
int SetDataElementIntArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                           const char* type, const char* subtype, int precision, const std::int32_t* values,
                           std::size_t count);
int SetDataElementUIntArray(char* buffer, std::size_t capacity, const char* name, const char* unit,
                            const char* type, const char* subtype, int precision, const std::uint32_t* values,
                            std::size_t count);

// A fresh warning text of at most kWarnMessageMaxLength bytes: the content is
// shortened, by whole UTF-8 characters from its end, until the text fits.
// `time` has the form "%Y-%m-%d %H:%M:%S". Empty for a null text argument, or
// when the text would not fit even with an empty content.
std::string BuildWarnMessage(std::uint32_t nvsid, std::uint32_t netid, std::uint32_t nodid, const char* time,
                             int type, const char* content);

// Writes a fresh command text from the buffer's first byte. 0 when written;
// -1 for a null buffer or content, or a text that does not fit (the buffer
// is left as it was).
int BuildCmdMessage(char* buffer, std::size_t capacity, int cmd, const char* content, std::uint32_t netid,
                    std::uint32_t nodid, int extdata);

// One node message written by a sequence of the builders above into a text
// of at most `capacity` bytes with its NUL. Each call answers as its builder
// does on the text of the calls before it. Way::kText runs the builders on a
// buffer; Way::kTree keeps the members between calls and writes the text
// only when it is asked for, with the same bytes as the builders give.
class JsonNodeMessage {
 public:
  enum class Way { kTree, kText };

  JsonNodeMessage(std::size_t capacity, Way way);

  int Header(std::uint32_t version, std::uint32_t nvsid, std::uint32_t netid, std::uint32_t nodid,
             const char* devtype, const char* msg);
  int Element(const char* name, const char* unit, const char* type, const char* subtype, int precision,
              std::int32_t value);
  int Meta(const char* name, const char* unit, const char* type, const char* subtype, int precision);
  int String(const char* name, const char* unit, const char* type, const char* subtype, int precision,
             const char* value);
  int UInt(const char* name, const char* unit, const char* type, const char* subtype, int precision,
           std::uint32_t value);
  int UInt64(const char* name, const char* unit, const char* type, const char* subtype, int precision,
             std::uint64_t value);
  int Float(const char* name, const char* unit, const char* type, const char* subtype, int precision, float value);
  int FloatArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                 const float* values, std::size_t count);
  int IntArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
               const std::int32_t* values, std::size_t count);
  int UIntArray(const char* name, const char* unit, const char* type, const char* subtype, int precision,
                const std::uint32_t* values, std::size_t count);

  // No call has written a text yet.
  bool Empty() const;
  std::string Text() const;

 private:
  friend struct JsonMessageEdits;

  struct DataElement {
    Json::Value value;
    std::string text;  // its compact notation
  };

  // The two kinds of edit every builder is made of: members of the root, or
  // members of "data"[name] (a fresh element when `replace`).
  template <class SetMembers>
  int EditHeader(SetMembers setMembers);
  template <class SetMembers>
  int EditElement(const char* name, bool replace, SetMembers setMembers);

  void AppendData(std::string& out) const;

  // The length of the text, line feed included, for a header text of
  // `headerLength` bytes with `headerCount` members and a "data" object of
  // `count` elements whose members take `members` bytes.
  static std::size_t TextLength(std::size_t headerLength, std::size_t headerCount, std::size_t count,
                                std::size_t members);

  std::size_t capacity_;
  Way way_;
  std::vector<char> buffer_;  // Way::kText
  // Way::kTree: the root's members but "data", and the elements of "data".
  Json::Value header_{Json::objectValue};
  std::string headerText_ = "{}";  // header_'s compact text
  std::map<std::string, DataElement> elements_;
  std::size_t elementMembers_ = 0;  // bytes of "name":text of every element
  bool hasData_ = false;
  bool written_ = false;
};
