#include "library/session/call_texts.h"

#include <cstdio>

#include "platform/guid.h"

namespace {

constexpr std::size_t kCallIdPassBytes = 8;

bool IsAsciiLetter(std::uint8_t b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

}  // namespace

std::string CallIdLetters(const std::uint8_t* bytes, std::size_t count) {
  std::string letters;
  if (bytes == nullptr) return letters;
  letters.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = bytes[i];
    if (IsAsciiLetter(b)) letters += static_cast<char>(b);
    else letters += static_cast<char>((b & 0x19) + (b > 0x80 ? 'A' : 'a'));
  }
  return letters;
}

std::string MakeCallId() {
  std::string id;
  for (int pass = 0; pass < 2; ++pass) {
    const auto guid = plat::NewGuidBytes();
    id += CallIdLetters(guid.data() + guid.size() - kCallIdPassBytes, kCallIdPassBytes);
  }
  return id;
}

std::string OwnFromText(std::string_view user, std::string_view localIp) {
  return "END <" + std::string(user) + "@" + std::string(localIp) + ":7000>";
}

std::string PeerToText(std::string_view peerId, int form) {
  return std::string(form == kPeerGateway ? "NVS <" : "END <") + std::string(peerId) + "@>";
}

std::string SdpOfferText(int number, std::string_view localIp) {
  const std::string ip(localIp);
  char numberText[16];
  std::snprintf(numberText, sizeof numberText, "%d", number);
  return "v=0\r\n o=- " + std::string(numberText) + " IN IP4 " + ip + "\r\ns=Lumora Audio Call\r\nc=IN IP4 " + ip +
         "\r\nt=0 0\r\nm=audio 42000 RTP/AVP 8 \r\na=rtpmap:8 PCMA/8000\r\n";
}

bool IsWellFormedFrom(std::string_view from) {
  return from.size() >= 5 && (from.substr(0, 3) == "NVS" || from.substr(0, 3) == "END");
}

bool IsGatewayFrom(std::string_view from) { return IsWellFormedFrom(from) && from.substr(0, 3) == "NVS"; }

std::string PeerIdOf(std::string_view from) {
  const std::size_t open = from.find('<');
  const std::size_t at = from.find('@');
  if (open == std::string_view::npos || at == std::string_view::npos || at < open) return {};
  return std::string(from.substr(open + 1, at - open - 1));
}
