// Replies of lamps, switches, curtains, box power, door contacts and the
// infrared remote.
#include "library/session/reply_decoders.h"

namespace {

const char* const kOnOff[] = {"off", "on"};
const char* const kCurtain[] = {"unkown", "open", "stop", "close"};

bool OneOf(std::uint8_t fn, std::initializer_list<std::uint8_t> list) {
  for (std::uint8_t f : list)
    if (f == fn) return true;
  return false;
}

void Status(NodeMessage& m, const char* devtype, std::uint8_t state) {
  m.Header(devtype, "status");
  m.String("status", WordOf(kOnOff, state));
}

void DoorContact(NodeMessage& m, const char* devtype) {
  if (m.Reply().functionByte != 0x40) return;
  m.Header(devtype, "status");
  m.String("status", m.Payload().U8(0) != 0 ? "on" : "off");
}

}  // namespace

void DecodeLamp(NodeMessage& m) {
  if (OneOf(m.Reply().functionByte, {0x30, 0x31, 0x41})) Status(m, "LAMP", m.Payload().U8(1));
}

void DecodeSlrc(NodeMessage& m) {
  if (OneOf(m.Reply().functionByte, {0x30, 0x40})) Status(m, "SLRC", m.Payload().U8(1));
}

void DecodePower(NodeMessage& m) {
  if (OneOf(m.Reply().functionByte, {0x30, 0x31, 0x43})) Status(m, "POWER", m.Payload().U8(0));
}

void DecodeCurtain(NodeMessage& m) {
  if (!OneOf(m.Reply().functionByte, {0x30, 0x31, 0x32, 0x42})) return;
  m.Header("EC", "status");
  m.String("status", WordOf(kCurtain, m.Payload().U8(0)));
}

void DecodeBoxPower(NodeMessage& m) {
  const std::uint8_t fn = m.Reply().functionByte;
  const char* state = WordOf(kOnOff, m.Payload().U8(0));
  if (fn == 0x43) {
    Status(m, "CONTROLTC", m.Payload().U8(0));
  } else if (fn == 0x32) {
    m.Header("CONTROLTC", "auth");
    m.String("status", state);
  } else if (fn == 0x30 || fn == 0x31) {
    m.Header("CONTROLTC", "ack");
    m.String("operation", fn == 0x30 ? "turnon" : "turnoff");
    m.String("status", state);
  }
}

void DecodeDoorContact(NodeMessage& m) { DoorContact(m, "DCDB"); }
void DecodeDoorContactBattery(NodeMessage& m) { DoorContact(m, "DCDBAT"); }

void DecodeInfraredRemote(NodeMessage& m) {
  static const char* const kCommandStatus[] = {"parse", "exec", "badtype", "badcmd", "badkey"};
  const std::uint8_t fn = m.Reply().functionByte;
  m.Header("IREMOTER", "cmdstatus");
  m.String("status", fn >= 0x42 ? WordOf(kCommandStatus, fn - 0x42u) : "");
}
