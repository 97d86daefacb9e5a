// Every family decoder writes the same text with the members kept between
// builder calls as with the builders run on the text after each call.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decoder_test_support.h"
#include "library/session/node_message.h"
#include "library/session/reply_routing.h"

namespace {

// Payloads of a few lengths up to the longest a reply carries: all zeros,
// all ones, and bytes of a fixed pseudo-random sequence.
std::vector<std::vector<std::uint8_t>> Payloads() {
  std::vector<std::vector<std::uint8_t>> payloads;
  std::uint32_t state = 12345;
  for (const std::size_t length : {0, 1, 3, 4, 8, 12, 20, 40, 64, 128, 243}) {
    payloads.emplace_back(length, 0x00);
    payloads.emplace_back(length, 0xFF);
    for (int variant = 0; variant < 3; ++variant) {
      std::vector<std::uint8_t> bytes(length);
      for (std::uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
      }
      // Small counts and exponents in the leading bytes reach the blocks.
      if (variant == 1 && length > 1) bytes[0] = static_cast<std::uint8_t>(bytes[0] % 8), bytes[1] %= 4;
      payloads.push_back(bytes);
    }
  }
  return payloads;
}

std::string TextOf(const IotReply& reply, ReplyDecoder decoder, JsonNodeMessage::Way way, bool& empty) {
  NodeMessage message(reply, way);
  decoder(message);
  empty = message.Empty();
  return message.Text();
}

}  // namespace

TEST(NodeMessageWays, EveryDecoderWritesTheBuildersBytes) {
  const auto payloads = Payloads();
  int decoders = 0;
  for (int code = 0; code < 256; ++code) {
    const ReplyDecoder decoder = DecoderOf(static_cast<std::uint8_t>(code));
    if (decoder == nullptr) continue;
    ++decoders;
    for (int fn = 16; fn <= 239; ++fn) {
      for (const auto& payload : payloads) {
        const IotReply reply = decodertest::Reply(static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(fn),
                                                  payload);
        bool textEmpty = false;
        bool treeEmpty = false;
        const std::string text = TextOf(reply, decoder, JsonNodeMessage::Way::kText, textEmpty);
        const std::string tree = TextOf(reply, decoder, JsonNodeMessage::Way::kTree, treeEmpty);
        ASSERT_EQ(tree, text) << "code " << code << ", function byte " << fn << ", " << payload.size() << " bytes";
        ASSERT_EQ(treeEmpty, textEmpty) << "code " << code << ", function byte " << fn;
      }
    }
  }
  EXPECT_GT(decoders, 30);
}
