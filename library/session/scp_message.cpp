#include "library/session/scp_message.h"

#include <charconv>
#include <cstring>
#include <new>
#include <string_view>

namespace {

// Length of the text at p, at most n bytes.
std::size_t BoundedLength(const char* p, std::size_t n) {
  const void* nul = std::memchr(p, 0, n);
  return nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - p) : n;
}

// ---------------------------------------------------------------------------
// Fields

bool SetField(char* field, std::size_t size, const char* text) {
  if (text == nullptr) return false;
  const std::size_t n = std::strlen(text);
  if (n >= size) return false;
  std::memset(field, 0, size);
  std::memcpy(field, text, n);
  return true;
}

// Copies a value into a field, cut at the field width.
void CopyField(char* field, std::size_t size, std::string_view value) {
  std::memset(field, 0, size);
  const std::size_t n = value.size() < size ? value.size() : size - 1;
  std::memcpy(field, value.data(), n);
}

// A field's text, bounded by the field even when it lacks its NUL.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return std::string_view(field, BoundedLength(field, N));
}

// Body bytes the record holds: ContentLength when it is 0..4095 and a buffer exists.
std::size_t HeldBodyLength(const ScpMessage* msg) {
  if (msg->body == nullptr || msg->ContentLength < 0 ||
      static_cast<std::size_t>(msg->ContentLength) >= kScpBodyCapacity) {
    return 0;
  }
  return static_cast<std::size_t>(msg->ContentLength);
}

bool EnsureBody(ScpMessage* msg) {
  if (msg->body == nullptr) msg->body = new (std::nothrow) std::uint8_t[kScpBodyCapacity]();
  return msg->body != nullptr;
}

// ---------------------------------------------------------------------------
// Serialising: the same routine measures (out == NULL) and writes.

class TextWriter {
 public:
  explicit TextWriter(char* out) : out_(out) {}

  std::size_t Length() const { return pos_; }

  void Put(std::string_view s) {
    if (out_ != nullptr && !s.empty()) std::memcpy(out_ + pos_, s.data(), s.size());
    pos_ += s.size();
  }
  void Int(long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    Put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
  }
  void Line(std::string_view name, std::string_view value) {
    Put(name);
    Put(value);
    Put("\r\n");
  }
  void Line(std::string_view name, long long value) {
    Put(name);
    Int(value);
    Put("\r\n");
  }

 private:
  char* out_;
  std::size_t pos_ = 0;
};

void EmitText(const ScpMessage* m, TextWriter& w) {
  switch (m->kind) {
    case kScpKindReq:
      w.Put("CMSCP/1.0 REQ\r\n");
      w.Line("CType:", FieldText(m->CType));
      w.Line("CName:", FieldText(m->CName));
      w.Line("Class:", m->Class);
      w.Line("Cmd:", FieldText(m->Cmd));
      w.Line("CallID:", FieldText(m->CallID));
      w.Line("CSeq:", m->CSeq);
      if (!FieldText(m->To).empty()) w.Line("To:", FieldText(m->To));
      w.Line("From:", FieldText(m->From));
      w.Line("Contact:", FieldText(m->Contact));
      break;
    case kScpKindAck:
      w.Line("CMSCP/1.0 ACK ", m->AckCode);
      w.Line("CType:", FieldText(m->CType));
      w.Line("Cmd:", FieldText(m->Cmd));
      w.Line("CSeq:", m->CSeq);
      w.Line("Contact:", FieldText(m->Contact));
      w.Line("Class:", m->Class);
      break;
    case kScpKindCancel:
      w.Put("CMSCP/1.0 CANCEL\r\n");
      break;
    default:
      break;
  }
  const std::size_t bodyLength = HeldBodyLength(m);
  w.Line("Content-Type:", FieldText(m->ContentType));
  w.Line("Content-Length:", static_cast<long long>(bodyLength));
  if (bodyLength > 0) w.Put(std::string_view(reinterpret_cast<const char*>(m->body), bodyLength));
  w.Put("\r\n\r\n");
}

// ---------------------------------------------------------------------------
// Parsing helpers over spans

bool IsSeparator(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::int32_t ParseSpan(std::string_view s) {
  bool negative = false;
  if (!s.empty() && s.front() == '-') {
    negative = true;
    s.remove_prefix(1);
  }
  unsigned base = 10;
  if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  } else if (!s.empty() && s[0] == '0') {
    base = 8;
    s.remove_prefix(1);
  }
  std::uint32_t value = 0;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    std::uint32_t digit;
    if (base == 16 && (c < '0' || c > '9')) {
      digit = static_cast<std::uint32_t>(c | 0x20u) - 87u;
    } else {
      digit = static_cast<std::uint32_t>(c) - static_cast<std::uint32_t>('0');
    }
    value = value * base + digit;  // modulo 2^32; no character is rejected
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

enum class LineClass {
  kStart,
  kCType,
  kCName,
  kClass,
  kCmd,
  kCallID,
  kCSeq,
  kTo,
  kFrom,
  kContact,
  kContentType,
  kContentLength,
};

struct Pattern {
  std::string_view text;
  LineClass kind;
};

// Tested in this order; the first found anywhere in the line wins.
constexpr Pattern kPatterns[] = {
    {"CMSCP/1.0", LineClass::kStart},  {"CType:", LineClass::kCType},
    {"CName:", LineClass::kCName},     {"Class:", LineClass::kClass},
    {"Cmd:", LineClass::kCmd},         {"CallID:", LineClass::kCallID},
    {"CSeq:", LineClass::kCSeq},       {"To:", LineClass::kTo},
    {"From:", LineClass::kFrom},       {"Contact:", LineClass::kContact},
    {"Content-Type:", LineClass::kContentType}, {"Content-Length:", LineClass::kContentLength},
};

// Applies the start line; false ends the parse (no blank).
bool ParseStartLine(ScpMessage* msg, std::string_view line) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  const std::string_view rest = Trim(line.substr(blank + 1));
  if (rest.find("REQ") != std::string_view::npos) {
    msg->kind = kScpKindReq;
  } else if (const std::size_t ack = rest.find("ACK"); ack != std::string_view::npos) {
    msg->kind = kScpKindAck;
    const std::size_t after = rest.find(' ', ack + 3);
    msg->AckCode =
        after == std::string_view::npos ? 0 : static_cast<std::uint8_t>(ParseSpan(Trim(rest.substr(after + 1))));
  } else if (rest.find("CANCEL") != std::string_view::npos) {
    msg->kind = kScpKindCancel;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Record

bool ScpMessageCreate(ScpMessage** out, int kind) {
  if (out == nullptr) return false;
  *out = nullptr;
  auto* msg = new (std::nothrow) ScpMessage{};
  if (msg == nullptr) return false;
  msg->body = new (std::nothrow) std::uint8_t[kScpBodyCapacity]();
  if (msg->body == nullptr) {
    delete msg;
    return false;
  }
  msg->version = 1;
  msg->kind = kind;
  msg->AckCode = 200;
  *out = msg;
  return true;
}

void ScpMessageReset(ScpMessage* msg) {
  if (msg == nullptr) return;
  std::uint8_t* body = msg->body;
  *msg = ScpMessage{};
  msg->body = body;
  if (body != nullptr) std::memset(body, 0, kScpBodyCapacity);
}

void ScpMessageFree(ScpMessage* msg) {
  if (msg == nullptr) return;
  delete[] msg->body;
  delete msg;
}

#define SCP_TEXT_FIELD(Name)                                                                          \
  bool ScpMessageSet##Name(ScpMessage* msg, const char* text) {                                       \
    return msg != nullptr && SetField(msg->Name, sizeof msg->Name, text);                             \
  }                                                                                                   \
  const char* ScpMessageGet##Name(const ScpMessage* msg) { return msg != nullptr ? msg->Name : ""; }

SCP_TEXT_FIELD(CType)
SCP_TEXT_FIELD(CName)
SCP_TEXT_FIELD(Cmd)
SCP_TEXT_FIELD(To)
SCP_TEXT_FIELD(From)
SCP_TEXT_FIELD(Contact)
SCP_TEXT_FIELD(ContentType)
SCP_TEXT_FIELD(CallID)
#undef SCP_TEXT_FIELD

void ScpMessageSetClass(ScpMessage* msg, int value) {
  if (msg != nullptr) msg->Class = value;
}
int ScpMessageGetClass(const ScpMessage* msg) { return msg != nullptr ? msg->Class : 0; }
void ScpMessageSetCSeq(ScpMessage* msg, int value) {
  if (msg != nullptr) msg->CSeq = value;
}
int ScpMessageGetCSeq(const ScpMessage* msg) { return msg != nullptr ? msg->CSeq : 0; }

void ScpMessageSetKind(ScpMessage* msg, int kind, std::uint8_t ackCode) {
  if (msg == nullptr) return;
  msg->kind = kind;
  msg->AckCode = ackCode;
}

int ScpMessageGetKind(const ScpMessage* msg, std::uint8_t* ackCode) {
  if (msg == nullptr) return -1;
  if (ackCode != nullptr) *ackCode = msg->AckCode;
  return msg->kind;
}

bool ScpMessageSetBody(ScpMessage* msg, const void* bytes, unsigned length) {
  if (msg == nullptr || bytes == nullptr || length == 0 || length >= kScpBodyCapacity) return false;
  if (!EnsureBody(msg)) return false;
  std::memset(msg->body, 0, kScpBodyCapacity);
  std::memcpy(msg->body, bytes, length);
  msg->ContentLength = static_cast<std::int32_t>(length);
  return true;
}

const std::uint8_t* ScpMessageGetBody(const ScpMessage* msg, unsigned* length) {
  if (msg == nullptr) {
    if (length != nullptr) *length = 0;
    return nullptr;
  }
  if (length != nullptr) *length = static_cast<unsigned>(HeldBodyLength(msg));
  return msg->body;
}

// ---------------------------------------------------------------------------
// Serialising

std::size_t ScpMessageSerialize(const ScpMessage* msg, char* out, std::size_t capacity) {
  if (msg == nullptr || out == nullptr) return 0;
  TextWriter measure(nullptr);
  EmitText(msg, measure);
  const std::size_t length = measure.Length();
  if (length >= capacity) return 0;  // the text and its NUL must fit
  TextWriter writer(out);
  EmitText(msg, writer);
  out[length] = '\0';
  return length;
}

std::size_t ScpMessageSerializeBlock(const ScpMessage* msg, char* block) {
  if (block == nullptr) return 0;
  std::memset(block, 0, kScpBlockSize);
  return ScpMessageSerialize(msg, block, kScpBlockSize);
}

// ---------------------------------------------------------------------------
// Parsing

int ScpMessageParse(ScpMessage* msg, const char* text, std::size_t length) {
  if (msg == nullptr || text == nullptr) return 0;
  // Lines end at the first NUL; the body may run on through the whole range.
  const std::size_t linesEnd = BoundedLength(text, length);
  if (linesEnd < 10) return 0;

  msg->ContentLength = 0;
  int count = 0;
  std::size_t pos = 0;
  for (;;) {
    while (pos < linesEnd && IsSeparator(text[pos])) ++pos;
    if (pos >= linesEnd) break;
    const std::size_t start = pos;
    while (pos < linesEnd && !IsSeparator(text[pos])) ++pos;
    const std::string_view line(text + start, pos - start);  // pos: end of the line

    const Pattern* found = nullptr;
    std::size_t at = std::string_view::npos;
    for (const Pattern& p : kPatterns) {
      at = line.find(p.text);
      if (at != std::string_view::npos) {
        found = &p;
        break;
      }
    }
    const std::size_t colon = line.find(':');
    if (found == nullptr) {
      if (colon == std::string_view::npos) break;  // neither ':' nor "CMSCP/1.0"
      continue;                                    // an unknown header
    }
    if (found->kind == LineClass::kStart) {
      if (!ParseStartLine(msg, line)) break;
      ++count;
      continue;
    }
    if (start + at < 2) break;  // a header where the start line belongs
    const std::string_view value = Trim(line.substr(colon + 1));
    switch (found->kind) {
      case LineClass::kCType: CopyField(msg->CType, sizeof msg->CType, value); break;
      case LineClass::kCName: CopyField(msg->CName, sizeof msg->CName, value); break;
      case LineClass::kClass: msg->Class = ParseSpan(value); break;
      case LineClass::kCmd: CopyField(msg->Cmd, sizeof msg->Cmd, value); break;
      case LineClass::kCallID: CopyField(msg->CallID, sizeof msg->CallID, value); break;
      case LineClass::kCSeq: msg->CSeq = ParseSpan(value); break;
      case LineClass::kTo: CopyField(msg->To, sizeof msg->To, value); break;
      case LineClass::kFrom: CopyField(msg->From, sizeof msg->From, value); break;
      case LineClass::kContact: CopyField(msg->Contact, sizeof msg->Contact, value); break;
      case LineClass::kContentType: CopyField(msg->ContentType, sizeof msg->ContentType, value); break;
      case LineClass::kContentLength: {
        const std::int32_t n = ParseSpan(value);
        if (n >= 1 && static_cast<std::size_t>(n) < kScpBodyCapacity) {
          if (!EnsureBody(msg)) return count;
          std::memset(msg->body, 0, kScpBodyCapacity);
          const std::size_t bodyStart = pos + 2;  // after the line's CR LF
          const std::size_t present = bodyStart < length ? length - bodyStart : 0;
          const std::size_t copy = present < static_cast<std::size_t>(n) ? present : static_cast<std::size_t>(n);
          if (copy > 0) std::memcpy(msg->body, text + bodyStart, copy);
          msg->ContentLength = static_cast<std::int32_t>(copy);
          return count;
        }
        msg->ContentLength = 0;  // 0, negative or too large: no body, go on
        break;
      }
      case LineClass::kStart: break;
    }
    ++count;
  }
  return count;
}

// ---------------------------------------------------------------------------
// Text routines

std::int32_t ParseInteger(const char* text) {
  if (text == nullptr) return 0;
  return ParseSpan(std::string_view(text));
}

std::int32_t ParseInteger(const char* text, std::size_t length) {
  if (text == nullptr) return 0;
  return ParseSpan(std::string_view(text, BoundedLength(text, length)));
}

char* TrimSpaces(char* text) {
  if (text == nullptr) return nullptr;
  while (*text == ' ') ++text;
  std::size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
  return text;
}
