// The frame check of an "iotm" body and every family decoder behind it.
// Byte 0 of the input: bit 0 set when the body is compressed; the rest is
// the body. The same bytes also go to the router as a reply that passed the
// check (byte 1 the command code, byte 2 the function byte, the rest the
// payload), so that each decoder sees any payload without the fuzzer having
// to find the frame's sums. Every text the router gives must be one JSON
// object, as the application reads it, and the decoder of the direct reply
// must write the same bytes with the members kept between builder calls as
// with the builders run on the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include <json/json.h>

#include "library/session/iot_reply.h"
#include "library/session/node_message.h"
#include "library/session/reply_routing.h"

namespace {

void CheckText(const RoutedReply& routed) {
  if (routed.notifyId == 0) return;
  Json::CharReaderBuilder builder;
  Json::CharReaderBuilder::strictMode(&builder.settings_);
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  const char* begin = routed.text.data();
  if (!reader->parse(begin, begin + routed.text.size(), &root, &errors) || !root.isObject()) {
    std::fprintf(stderr, "not a JSON object (%s): %s\n", errors.c_str(), routed.text.c_str());
    std::abort();
  }
}

// Decodes the reply both ways; the texts and their presence must agree.
void CheckWays(const IotReply& reply) {
  const ReplyDecoder decoder = DecoderOf(reply.commandCode);
  if (decoder == nullptr) return;
  NodeMessage tree(reply, JsonNodeMessage::Way::kTree);
  NodeMessage text(reply, JsonNodeMessage::Way::kText);
  decoder(tree);
  decoder(text);
  if (tree.Empty() != text.Empty() || tree.Text() != text.Text()) {
    std::fprintf(stderr, "the ways differ:\n%s%s", tree.Text().c_str(), text.Text().c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  constexpr std::uint32_t kNvsid = 1000001;
  const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (const auto reply = UnpackIotReply(kNvsid, body, (data[0] & 1) != 0)) CheckText(RouteIotReply(*reply));

  if (size < 3) return 0;
  IotReply direct;
  direct.nvsid = kNvsid;
  direct.netId = 1;
  direct.nodeAddress = data[0];
  direct.commandCode = data[1];
  direct.functionByte = data[2];
  direct.payload.assign(data + 3, data + size);
  CheckText(RouteIotReply(direct));
  CheckWays(direct);
  return 0;
}
