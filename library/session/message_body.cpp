#include "library/session/message_body.h"

#include <strings.h>
#include <zlib.h>

std::string_view BodyOf(const ScpMessage& message) {
  unsigned length = 0;
  const std::uint8_t* body = ScpMessageGetBody(&message, &length);
  if (body == nullptr) return {};
  return std::string_view(reinterpret_cast<const char*>(body), length);
}

std::string_view AsText(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

std::optional<std::string> Inflate(std::string_view compressed, std::size_t capacity) {
  std::string out(capacity, '\0');
  uLongf length = static_cast<uLongf>(out.size());
  if (compressed.empty() ||
      uncompress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(compressed.data()),
                 static_cast<uLong>(compressed.size())) != Z_OK)
    return std::nullopt;
  out.resize(length);
  return out;
}

bool IsZipped(const ScpMessage& message) { return strcasecmp(ScpMessageGetContentType(&message), "zip") == 0; }
