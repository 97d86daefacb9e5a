#include "tools/cmscp_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace standin {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTerminator = "\r\n\r\n";

void AddLine(std::string& text, std::string_view name, std::string_view value) {
  text.append(name);
  text.push_back(':');
  text.append(value);
  text.append(kLineEnd);
}

void AddLine(std::string& text, std::string_view name, long long value) {
  AddLine(text, name, std::to_string(value));
}

// Splits the text at the start of a block into CR LF-ended lines. The text
// ends at the first zero byte or at the end of the bytes given.
class LineReader {
 public:
  struct Line {
    std::string_view text;
    bool ended = false;  // closed by CR LF
  };

  LineReader(const std::uint8_t* data, std::size_t size)
      : data_(reinterpret_cast<const char*>(data)), size_(size) {}

  Line Next() {
    Line line;
    const std::size_t begin = pos_;
    while (pos_ < size_ && data_[pos_] != '\0') {
      if (data_[pos_] == '\r' && pos_ + 1 < size_ && data_[pos_ + 1] == '\n') {
        line.text = std::string_view(data_ + begin, pos_ - begin);
        line.ended = true;
        pos_ += kLineEnd.size();
        return line;
      }
      ++pos_;
    }
    line.text = std::string_view(data_ + begin, pos_ - begin);
    return line;
  }

  std::size_t Position() const { return pos_; }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

bool ReadDecimal(std::string_view text, long long& out) {
  if (text.empty() || text.size() > 18) return false;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return result.ec == std::errc() && result.ptr == end && out >= 0;
}

void ReadStartLine(std::string_view line, ParsedMessage& parsed) {
  const std::string prefix = std::string(kProtocolMark) + " ";
  if (line.empty()) {
    parsed.start = ParsedMessage::StartLine::Missing;
    parsed.error = "no start line";
    return;
  }
  parsed.start = ParsedMessage::StartLine::Unknown;
  if (line.substr(0, prefix.size()) != prefix) {
    parsed.error = "start line is not " + std::string(kProtocolMark);
    return;
  }
  const std::string_view rest = line.substr(prefix.size());
  if (rest == "REQ") {
    parsed.start = ParsedMessage::StartLine::Request;
  } else if (rest == "CANCEL") {
    parsed.start = ParsedMessage::StartLine::Cancel;
  } else if (rest.substr(0, 4) == "ACK ") {
    long long code = 0;
    if (rest.size() <= 7 && ReadDecimal(rest.substr(4), code) && code <= 255) {
      parsed.start = ParsedMessage::StartLine::Answer;
      parsed.ackCode = static_cast<int>(code);
    } else {
      parsed.error = "ACK code does not read";
    }
  } else {
    parsed.error = "unknown start line kind";
  }
}

void SetError(ParsedMessage& parsed, const char* error) {
  if (parsed.error.empty()) parsed.error = error;
}

}  // namespace

OutgoingMessage ServerRequest(const std::string& cmd, int classValue, const std::string& body,
                              const std::string& contentType) {
  OutgoingMessage m;
  m.cmd = cmd;
  m.classValue = classValue;
  m.body = body;
  m.contentType = contentType;
  return m;
}

std::string MessageText(const OutgoingMessage& m) {
  std::string text(kProtocolMark);
  switch (m.kind) {
    case MessageKind::Request:
      text.append(" REQ");
      text.append(kLineEnd);
      AddLine(text, "CType", m.ctype);
      AddLine(text, "CName", m.cname);
      AddLine(text, "Class", m.classValue);
      AddLine(text, "Cmd", m.cmd);
      AddLine(text, "CallID", m.callId);
      AddLine(text, "CSeq", m.cseq);
      if (!m.to.empty()) AddLine(text, "To", m.to);
      AddLine(text, "From", m.from);
      AddLine(text, "Contact", m.contact);
      break;
    case MessageKind::Answer:
      text.append(" ACK ");
      text.append(std::to_string(static_cast<int>(m.ackCode)));
      text.append(kLineEnd);
      AddLine(text, "CType", m.ctype);
      AddLine(text, "Cmd", m.cmd);
      AddLine(text, "CSeq", m.cseq);
      AddLine(text, "Contact", m.contact);
      AddLine(text, "Class", m.classValue);
      break;
    case MessageKind::Cancel:
      text.append(" CANCEL");
      text.append(kLineEnd);
      break;
  }
  AddLine(text, "Content-Type", m.contentType);
  AddLine(text, "Content-Length", static_cast<long long>(m.body.size()));
  text.append(m.body);
  text.append(kTerminator);
  return text;
}

std::optional<Block> BuildBlock(const OutgoingMessage& message) {
  const std::string text = MessageText(message);
  if (text.size() > kBlockSize) return std::nullopt;
  Block block{};
  std::memcpy(block.data(), text.data(), text.size());
  return block;
}

ParsedMessage ParseBlock(const std::uint8_t* data, std::size_t size) {
  ParsedMessage parsed;
  if (data == nullptr || size == 0) {
    parsed.error = "no start line";
    return parsed;
  }
  LineReader reader(data, size);
  const LineReader::Line first = reader.Next();
  ReadStartLine(first.text, parsed);
  if (!first.ended) {
    SetError(parsed, "text ends inside the start line");
  } else {
    for (;;) {
      const LineReader::Line line = reader.Next();
      if (!line.ended) {
        SetError(parsed, "text ends before Content-Length");
        break;
      }
      if (line.text.empty()) {
        SetError(parsed, "no Content-Length");
        break;
      }
      const std::size_t colon = line.text.find(':');
      if (colon == std::string_view::npos) {
        SetError(parsed, "header line without ':'");
        break;
      }
      const std::string_view name = line.text.substr(0, colon);
      const std::string_view value = line.text.substr(colon + 1);
      if (name != "Content-Length") {
        parsed.headers.emplace_back(std::string(name), std::string(value));
        continue;
      }
      long long length = 0;
      if (!ReadDecimal(value, length)) {
        SetError(parsed, "Content-Length does not read");
        break;
      }
      parsed.contentLength = length;
      const std::size_t bodyStart = reader.Position();
      const std::size_t available = size - bodyStart;
      const char* text = reinterpret_cast<const char*>(data);
      if (static_cast<unsigned long long>(length) > available) {
        parsed.bodyTruncated = true;
        parsed.body.assign(text + bodyStart, available);
        parsed.textLength = size;
        SetError(parsed, "Content-Length reaches past the block");
        break;
      }
      const std::size_t bodyEnd = bodyStart + static_cast<std::size_t>(length);
      parsed.body.assign(text + bodyStart, bodyEnd - bodyStart);
      parsed.terminated = size - bodyEnd >= kTerminator.size() &&
                          std::memcmp(text + bodyEnd, kTerminator.data(), kTerminator.size()) == 0;
      if (parsed.terminated) {
        parsed.textLength = bodyEnd + kTerminator.size();
      } else {
        parsed.textLength = bodyEnd;
        SetError(parsed, "no CR LF CR LF after the body");
      }
      break;
    }
  }
  if (parsed.textLength == 0) parsed.textLength = reader.Position();
  parsed.zeroFilled = std::all_of(data + parsed.textLength, data + size,
                                  [](std::uint8_t byte) { return byte == 0; });
  return parsed;
}

std::string ParsedMessage::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key == name) return value;
  }
  return {};
}

bool ParsedMessage::HasHeader(std::string_view name) const {
  return std::any_of(headers.begin(), headers.end(),
                     [name](const auto& header) { return header.first == name; });
}

int ParsedMessage::IntHeader(std::string_view name, int fallback) const {
  for (const auto& [key, value] : headers) {
    if (key != name) continue;
    int number = 0;
    const char* end = value.data() + value.size();
    const auto result = std::from_chars(value.data(), end, number);
    if (value.empty() || result.ec != std::errc() || result.ptr != end) return fallback;
    return number;
  }
  return fallback;
}

}  // namespace standin
