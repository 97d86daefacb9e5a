// The texts of a call: CallID, address texts, SDP offer, reading a From.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "library/session/call_texts.h"

TEST(CallTexts, CallIdLettersKeepLettersAndMapOtherBytes) {
  // 0x00 -> a; 0x81 -> (0x81 & 0x19) + 'A' = B; 0xFF -> Z; 0x80 takes the
  // lower-case branch -> a; 0x19 -> z; letters stay.
  const std::vector<std::uint8_t> bytes = {0x41, 0x7A, 0x00, 0x81, 0xFF, 0x80, 0x19, 0x5A};
  EXPECT_EQ(CallIdLetters(bytes.data(), bytes.size()), "AzaBZazZ");
  const std::vector<std::uint8_t> more = {'@', '[', '`', '{', 0x7F, 0x9A};
  EXPECT_EQ(CallIdLetters(more.data(), more.size()), "azazzY");
}

TEST(CallTexts, CallIdIsSixteenLettersOfTheMappedSet) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    const std::string id = MakeCallId();
    ASSERT_EQ(id.size(), 16u);
    for (char c : id) EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << id;
    seen.insert(id);
  }
  EXPECT_GT(seen.size(), 45u);  // new random bytes each time
}

TEST(CallTexts, AddressTexts) {
  EXPECT_EQ(OwnFromText("admin", "10.0.0.7"), "END <admin@10.0.0.7:7000>");
  EXPECT_EQ(PeerToText("256", kPeerGateway), "NVS <256@>");
  EXPECT_EQ(PeerToText("abc", kPeerEndUser), "END <abc@>");
  EXPECT_EQ(PeerToText("", 5), "END <@>");
}

TEST(CallTexts, SdpOfferIsExact) {
  const std::string sdp = SdpOfferText(1234, "127.0.0.1");
  EXPECT_EQ(sdp,
            "v=0\r\n o=- 1234 IN IP4 127.0.0.1\r\ns=Lumora Audio Call\r\nc=IN IP4 127.0.0.1\r\nt=0 0\r\n"
            "m=audio 42000 RTP/AVP 8 \r\na=rtpmap:8 PCMA/8000\r\n");
  EXPECT_EQ(sdp.size(), 129u);
}

TEST(CallTexts, ReadingAReceivedFrom) {
  struct Case {
    const char* from;
    bool wellFormed;
    bool gateway;
    const char* peerId;
  };
  const Case cases[] = {
      {"END <abc@1.2.3.4:7000>", true, false, "abc"},
      {"NVS <12@x>", true, true, "12"},
      {"xy", false, false, ""},
      {"END", false, false, ""},
      {"NVS <", true, true, ""},   // no '@'
      {"END x", true, false, ""},  // neither '<' nor '@'
      {"END @a<b", true, false, ""},  // '@' before '<'
      {"END <@>", true, false, ""},
      {"end <a@b>", false, false, "a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsWellFormedFrom(c.from), c.wellFormed) << c.from;
    EXPECT_EQ(IsGatewayFrom(c.from), c.gateway) << c.from;
    EXPECT_EQ(PeerIdOf(c.from), c.peerId) << c.from;
  }
}
