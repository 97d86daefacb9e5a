// Replies of the licence-plate recogniser, the vehicle RFID reader and the
// two card readers (13.56 MHz and 125 kHz).
#include <cstdio>

#include "library/session/reply_decoders.h"

namespace {

// The 31 province characters of plate codes 128 to 158, in code order.
const char* const kProvinces[] = {"京", "津", "冀", "晋", "蒙", "辽", "吉", "黑", "沪", "苏", "浙",
                                  "皖", "闽", "赣", "鲁", "豫", "鄂", "湘", "粤", "桂", "琼", "渝",
                                  "川", "贵", "云", "藏", "陕", "甘", "青", "宁", "新"};
constexpr std::uint8_t kFirstProvince = 128;

const char* const kCardActions[] = {"unknown", "approach", "leave"};

// "%08X" of a 32-bit number.
std::string Hex32(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::string DecodePlateText(const std::uint8_t* codes, std::size_t count) {
  std::string text;
  if (codes == nullptr) return text;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t code = codes[i];
    if (code <= 9)
      text += static_cast<char>('0' + code);
    else if (code <= 35)
      text += static_cast<char>('A' + (code - 10));
    else if (code == 36)
      text += ' ';
    else if (code >= kFirstProvince)
      text += WordOf(kProvinces, code - kFirstProvince);
  }
  return text;
}

void DecodeVlr(NodeMessage& m) {
  if (m.Reply().functionByte != 0x50) return;
  // Only the codes the payload holds: a plate cut short gains no characters.
  const std::vector<std::uint8_t> codes = m.Payload().Bytes(5, 7);
  m.Header("VLR", "vl");
  m.String("vl", DecodePlateText(codes.data(), codes.size()).c_str());
}

void DecodeCarRfid(NodeMessage& m) {
  if (m.Reply().functionByte != 0x43) return;
  const PayloadReader p = m.Payload();
  m.Header("CARRFID", "cardinfo");
  m.UInt("cardnum", "", "number", "", 0, p.U32(4));
  m.String("cardid", "", "number", "", 0, Hex32(p.U32(0)).c_str());
}

void DecodeRfid13M56(NodeMessage& m) {
  const std::uint8_t fn = m.Reply().functionByte;
  const PayloadReader p = m.Payload();
  if (fn == 0x43) {
    m.Header("RFIDCONTROL13M56", "data");
    m.String("action", "unknown");
    m.String("cardtype", "A");
    m.String("info", Hex32(p.U32(0)).c_str());
  } else if (fn == 0x44) {
    std::string info;
    for (std::size_t at = 4; at < 16; ++at) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(p.U8(at)));
      info += digits;
    }
    m.Header("RFIDCONTROL13M56", "data");
    m.String("action", WordOf(kCardActions, p.U8(0)));
    m.String("cardtype", "B");
    m.String("info", "", "number", "", 0, info.c_str());
  }
}

void DecodeRfid125K(NodeMessage& m) {
  if (m.Reply().functionByte != 0x43) return;
  m.Header("RFIDCONTROL125K", "data");
  m.String("info", Hex32(m.Payload().U32(0)).c_str());
}
