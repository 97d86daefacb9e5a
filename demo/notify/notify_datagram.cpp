#include "demo/notify/notify_datagram.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a text the way the conversions of scanf do, one field after the
// other; a field that does not match stops every later read. The text must
// be followed by a NUL (it is read by strtof).
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : m_text(text) {}

  bool Literal(std::string_view literal) {
    if (m_failed || m_text.size() - m_pos < literal.size()) return Fail();
    for (std::size_t i = 0; i < literal.size(); ++i) {
      if (m_text[m_pos + i] != literal[i]) return Fail();
    }
    m_pos += literal.size();
    return true;
  }

  // %f
  bool Float(float& value) {
    if (m_failed) return false;
    const char* start = m_text.data() + m_pos;
    char* end = nullptr;
    const float parsed = std::strtof(start, &end);
    if (end == start) return Fail();
    value = parsed;
    m_pos += static_cast<std::size_t>(end - start);
    return true;
  }

  // %u: blanks, an optional sign and at least one digit (the value is not kept).
  bool Unsigned() {
    if (m_failed) return false;
    std::size_t pos = m_pos;
    while (pos < m_text.size() && IsSpace(m_text[pos])) ++pos;
    if (pos < m_text.size() && (m_text[pos] == '+' || m_text[pos] == '-')) ++pos;
    const std::size_t digits = pos;
    while (pos < m_text.size() && IsDigit(m_text[pos])) ++pos;
    if (pos == digits) return Fail();
    m_pos = pos;
    return true;
  }

  // %[^stop]: at least one character other than `stop`.
  bool Until(char stop, std::string& out) {
    if (m_failed) return false;
    const std::size_t end = std::min(m_text.find(stop, m_pos), m_text.size());
    if (end == m_pos) return Fail();
    out = std::string(m_text.substr(m_pos, end - m_pos));
    m_pos = end;
    return true;
  }

  // %s: blanks, then at least one character that is not a blank.
  bool Word(std::string& out) {
    if (m_failed) return false;
    std::size_t pos = m_pos;
    while (pos < m_text.size() && IsSpace(m_text[pos])) ++pos;
    std::size_t end = pos;
    while (end < m_text.size() && !IsSpace(m_text[end])) ++end;
    if (end == pos) return Fail();
    out = std::string(m_text.substr(pos, end - pos));
    m_pos = end;
    return true;
  }

 private:
  bool Fail() {
    m_failed = true;
    return false;
  }

  std::string_view m_text;
  std::size_t m_pos = 0;
  bool m_failed = false;
};

bool TooLong(NotifyDatagram& datagram, const std::string& field, std::size_t limit, const char* name) {
  if (field.size() <= limit) return false;
  datagram.status = NotifyDatagram::Status::kFieldTooLong;
  datagram.longField = name;
  datagram.kind.clear();
  datagram.data.clear();
  return true;
}

}  // namespace

NotifyDatagram ParseNotifyDatagram(std::string_view bytes) {
  NotifyDatagram datagram;
  const std::string text(bytes.substr(0, bytes.find('\0')));
  FieldReader reader{text};
  if (reader.Literal("VER=")) reader.Float(datagram.version);
  const float version = datagram.version;
  if (version != 2.0f && version != 2.1f && version != 3.0f) return datagram;
  datagram.status = NotifyDatagram::Status::kRead;

  reader.Literal("&MSG=");
  reader.Until('&', datagram.kind);
  if (TooLong(datagram, datagram.kind, kNotifyKindLimit, "MSG")) return datagram;
  if (version == 2.0f) {
    if (reader.Literal("&WPARAM=") && reader.Unsigned() && reader.Literal("&LPARAM=") && reader.Unsigned() &&
        reader.Literal("&DATA="))
      reader.Until('\n', datagram.data);
  } else if (version == 2.1f) {
    if (reader.Literal("&DAT=")) reader.Until('\n', datagram.data);
  } else {
    std::string source;
    if (reader.Literal("&SRC=")) reader.Until('&', source);
    if (TooLong(datagram, source, kNotifySourceLimit, "SRC")) return datagram;
    if (reader.Literal("&NVS=") && reader.Unsigned() && reader.Literal("&NET=") && reader.Unsigned() &&
        reader.Literal("&NOD=") && reader.Unsigned() && reader.Literal("&DAT="))
      reader.Word(datagram.data);
  }
  TooLong(datagram, datagram.data, kNotifyDataLimit, "DAT");
  return datagram;
}
