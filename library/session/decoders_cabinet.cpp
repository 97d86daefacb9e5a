// Replies and events of the valuables cabinet. A reply's payload begins with
// the sub-header {97, result or count, group, item}; its data follow from
// byte 4. Numbers are little-endian.
#include <algorithm>
#include <iterator>

#include "library/session/reply_decoders.h"

namespace {

constexpr const char* kDevtype = "CABMGZ";
constexpr std::size_t kData = 4;    // the first data byte after the sub-header
constexpr std::size_t kBoxes = 16;  // a box number is one nibble

struct Acknowledged {
  const char* info;
  const char* type;
};

// Function bytes 0x30 to 0x3F: the operation and whether the cabinet
// received it or carried it out.
constexpr Acknowledged kAcks[] = {
    {"GetWeight", "Receive"},            // 0x30
    {"OpenBox", "Receive"},              // 0x31
    {"AddAdvUser", "Receive"},           // 0x32
    {"RemAdvUser", "Receive"},           // 0x33
    {"ClearAdminInBox", "Receive"},      // 0x34
    {"RemBox", "Receive"},               // 0x35
    {"ClearAdminInCabinet", "Execute"},  // 0x36
    {"GetAdmin", "Receive"},             // 0x37
    {"GetBoxInfo", "Receive"},           // 0x38
    {"ReInit", "Execute"},               // 0x39
    {"RemBox", "Execute"},               // 0x3A
    {"ClearAdminInBox", "Execute"},      // 0x3B
    {"AddAdvUser", "Execute"},           // 0x3C
    {"RemAdvUser", "Execute"},           // 0x3D
    {"UserOp", "Receive"},               // 0x3E
    {"UserOp", "Execute"},               // 0x3F
};
static_assert(std::size(kAcks) == 16);

const char* ResultWord(std::uint8_t result) {
  return result == 0x55 ? "Success" : result == 0xAA ? "Failure" : "";
}

void Number(NodeMessage& m, const char* name, std::int32_t value) { m.Element(name, "", "number", "", 0, value); }
// Box and user numbers of the opening events carry the type word "string".
void Labelled(NodeMessage& m, const char* name, std::int32_t value) { m.Element(name, "", "string", "", 0, value); }

void Acknowledgement(NodeMessage& m, const PayloadReader& p, std::uint8_t fn) {
  const Acknowledged& ack = kAcks[fn - 0x30u];
  m.Header(kDevtype, "ack");
  m.String("info", ack.info);
  m.String("type", ack.type);
  m.String("result", ResultWord(p.U8(1)));
  Number(m, "boxnum", p.U8(kData));
}

// The cabinet's boxes: each data byte holds a box number in its low nibble
// and the box's value in its high nibble. The count is that of payload byte
// 1, kept within the 16 boxes and the bytes the payload holds.
void CombinationInfo(NodeMessage& m, const PayloadReader& p) {
  const std::size_t present = p.Size() > kData ? p.Size() - kData : 0;
  const std::size_t count = std::min({static_cast<std::size_t>(p.U8(1)), kBoxes, present});
  std::int32_t boxes[kBoxes] = {};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = p.U8(kData + i);
    boxes[b & 0x0F] = b >> 4;
  }
  m.Header(kDevtype, "combininfo");
  m.IntArray("info", "", "array", "number", 0, boxes, count);
}

// A box opened by a user with a password (by card or by password) or by an
// administrator. Other kinds give no message.
void BoxOpened(NodeMessage& m, const PayloadReader& p) {
  const std::uint8_t kind = p.U8(5);
  if (kind == 1 || kind == 2) {
    m.Header(kDevtype, "advuseropen");
    m.String("operation", kind == 1 ? "Card" : "Password");
    Labelled(m, "user", p.U16(6));
  } else if (kind == 3 || kind == 4) {
    const std::uint8_t admin = p.U8(6);
    m.Header(kDevtype, "adminopen");
    m.String("info", kind == 4 ? "Command" : admin == 1 ? "Admin1" : admin == 2 ? "Admin2" : "");
  } else {
    return;
  }
  Labelled(m, "box", p.U8(kData));
}

}  // namespace

void DecodeCabinet(NodeMessage& m) {
  const std::uint8_t fn = m.Reply().functionByte;
  const PayloadReader p = m.Payload();
  if (fn == 0x10 || fn == 0x11) {
    m.Header(kDevtype, "status");
    m.String("alarm", fn == 0x10 ? "BoxBroken" : "ReaderBroken");
  } else if (fn == 0x20 || fn == 0x21) {
    m.Header(kDevtype, "status");
    m.String("fault", fn == 0x20 ? "Communication" : "Storage");
  } else if (fn >= 0x30 && fn <= 0x3F) {
    Acknowledgement(m, p, fn);
  } else if (fn == 0x40) {
    m.Header(kDevtype, "boxclosed");
    Number(m, "boxnum", p.U8(kData));
  } else if (fn >= 0x41 && fn <= 0x43) {
    m.Header(kDevtype, "boxinit");
    m.String("status", fn == 0x41 ? "Start" : fn == 0x42 ? "Failed" : "Finish");
  } else if (fn == 0x50) {
    CombinationInfo(m, p);
  } else if (fn == 0x51) {
    BoxOpened(m, p);
  } else if (fn == 0x52) {
    const std::uint32_t admins[] = {p.U32(kData), p.U32(kData + 4)};
    m.Header(kDevtype, "admininfo");
    m.UIntArray("info", "", "array", "number", 0, admins, std::size(admins));
  } else if (fn == 0x53) {
    m.Header(kDevtype, "boxweight");
    Number(m, "box", p.U8(kData));
    Number(m, "weight", p.U16(kData + 1));
  } else if (fn == 0x54) {
    m.Header(kDevtype, "useropen");
    Labelled(m, "box", p.U8(kData));
    m.UInt("card", "", "array", "number", 0, p.U32(kData + 1));
  }
}
