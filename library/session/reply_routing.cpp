#include "library/session/reply_routing.h"

#include "library/api/json_message.h"
#include "library/session/reply_decoders.h"
#include "sentrell.h"

namespace {

struct Family {
  std::uint8_t code;
  ReplyDecoder decoder;
};

// Command code to family decoder.
constexpr Family kFamilies[] = {
    {80, &DecodeDoorLock}, {96, &DecodeFingerprintLock},
    {44, &DecodeDoorContact}, {81, &DecodeLamp},     {82, &DecodeCurtain},         {83, &DecodePower},
    {85, &DecodeBoxPower},    {102, &DecodeInfraredRemote}, {172, &DecodeDoorContactBattery}, {209, &DecodeSlrc},
    {49, &DecodeHealthMonitor}, {97, &DecodeCabinet}, {196, &DecodeSphygmometer},
    {46, &DecodePh},   {47, &DecodeCo2}, {48, &DecodeO2},   {60, &DecodeDais},
    {61, &DecodeTdc},  {62, &DecodeThdc}, {63, &DecodeIdc},
    {86, &DecodeCardPower}, {87, &DecodeCameraCover}, {88, &DecodeWaterValve}, {90, &DecodePositioning},
    {93, &DecodeVlControl}, {94, &DecodeIfControl}, {100, &DecodeInOutRegister},
    {65, &DecodeWaterMeter}, {66, &DecodeGasMeter}, {95, &DecodePowerMeter},
    {12, &DecodeVlr},  {89, &DecodeCarRfid}, {91, &DecodeRfid13M56}, {92, &DecodeRfid125K}, {103, &DecodeAdapter},
};

}  // namespace

ReplyDecoder DecoderOf(std::uint8_t commandCode) {
  for (const Family& family : kFamilies)
    if (family.code == commandCode) return family.decoder;
  return nullptr;
}

RoutedReply RouteIotReply(const IotReply& reply) {
  RoutedReply routed;
  const PayloadReader payload(reply.payload);
  const std::uint8_t fn = reply.functionByte;
  if (fn == 7 || fn == 13 || fn == 240) {
    char text[NodeMessage::kCapacity] = {};
    if (fn == 7)
      BuildCmdMessage(text, sizeof text, 7, "DelayToReturn", payload.U16(0), payload.U16(2), payload.U16(4));
    else if (fn == 13)
      BuildCmdMessage(text, sizeof text, 13, "NodeOffline", payload.U16(0), payload.U16(2), 0);
    else
      BuildCmdMessage(text, sizeof text, 240, "Node no response", reply.netId, reply.nodeAddress, 0);
    routed.text = text;
    if (!routed.text.empty()) routed.notifyId = NOTIFY_ROUTING;
    return routed;
  }
  if (fn < 16 || fn > 239) return routed;
  routed.deviceData = true;
  if (const ReplyDecoder decoder = DecoderOf(reply.commandCode)) {
    NodeMessage message(reply);
    decoder(message);
    if (!message.Empty()) {
      routed.text = message.Text();
      routed.notifyId = NOTIFY_NODEMSG;
    }
  }
  return routed;
}
