#pragma once
// The stand-in's own reading and writing of "CMSCP/1.0" messages: a message
// text in a zero-filled 1212-byte block, and the parse of such a block into
// a plain record. Written apart from the library's codec on purpose, so that
// the library is checked against a second reading of the format.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin {

inline constexpr std::size_t kBlockSize = 1212;
inline constexpr std::string_view kProtocolMark = "CMSCP/1.0";

using Block = std::array<std::uint8_t, kBlockSize>;

enum class MessageKind { Request, Answer, Cancel };

// A message to send. The header lines written depend on the kind:
//   Request: CType, CName, Class, Cmd, CallID, CSeq, To (only when not empty),
//            From, Contact
//   Answer:  CType, Cmd, CSeq, Contact, Class  (start line "ACK <ackCode>")
//   Cancel:  none
// then, for every kind, Content-Type and Content-Length, the body as it is,
// and CR LF CR LF. Values are written as they are, whatever their length.
struct OutgoingMessage {
  MessageKind kind = MessageKind::Request;
  std::uint8_t ackCode = 200;
  std::string ctype;
  std::string cname;
  std::string cmd;
  std::string callId;
  std::string to;
  std::string from;
  std::string contact;
  std::string contentType;
  int classValue = 0;
  int cseq = 0;
  std::string body;  // any bytes
};

// A request of the server: command word, Class, body and its Content-Type.
OutgoingMessage ServerRequest(const std::string& cmd, int classValue, const std::string& body = {},
                              const std::string& contentType = {});

// The full text of a message, terminator included.
std::string MessageText(const OutgoingMessage& message);

// The text at the start of a zero-filled block; nullopt when it is longer
// than a block.
std::optional<Block> BuildBlock(const OutgoingMessage& message);

// What a received block holds.
struct ParsedMessage {
  enum class StartLine { Missing, Request, Answer, Cancel, Unknown };

  StartLine start = StartLine::Missing;
  int ackCode = -1;  // 0..255 for an Answer
  // Header lines before Content-Length, in the order received, values as
  // written (nothing trimmed).
  std::vector<std::pair<std::string, std::string>> headers;
  // Content-Length as written; -1 when there is none or it does not read.
  long long contentLength = -1;
  std::string body;            // the body bytes the block holds
  bool bodyTruncated = false;  // Content-Length reaches past the block
  bool terminated = false;     // CR LF CR LF follows the body
  std::size_t textLength = 0;  // bytes up to the end of the terminator
  bool zeroFilled = false;     // every byte after the text is zero
  std::string error;           // the first fault found; empty when well formed

  // The value of the first header of that name, "" when absent.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
  // The header read as a decimal integer; `fallback` when absent or unreadable.
  int IntHeader(std::string_view name, int fallback = 0) const;
};

// Parses `size` bytes (normally one block); never reads beyond them.
ParsedMessage ParseBlock(const std::uint8_t* data, std::size_t size);

}  // namespace standin
