#include "library/session/credentials.h"

#include <algorithm>

#include "library/session/codecs.h"
#include "library/session/wire_text.h"

std::optional<std::string> EncodeCredential(std::string_view utf8, std::size_t maxEncoded) {
  const std::string wire = Utf8ToWire(utf8);
  std::string encoded = B64Encode(wire.data(), static_cast<int>(wire.size()));
  if (encoded.size() > maxEncoded) return std::nullopt;
  std::replace(encoded.begin(), encoded.end(), '=', '!');
  return encoded;
}
