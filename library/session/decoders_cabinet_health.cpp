// Replies of the sleep and vital-sign monitor and of the blood-pressure meter.
#include "library/session/reply_decoders.h"

namespace {

void Number(NodeMessage& m, const char* name, std::int32_t value) { m.Element(name, "", "number", "", 0, value); }

// A vital value packed into two bytes, five bits each: first x 32 + second.
std::int32_t PackedVital(const PayloadReader& p, std::size_t at) {
  return (p.U8(at) & 0x1F) * 32 + (p.U8(at + 1) & 0x1F);
}

}  // namespace

void DecodeHealthMonitor(NodeMessage& m) {
  const PayloadReader p = m.Payload();
  if (m.Reply().functionByte != 0x50 || p.U8(4) != 0x55 || p.U8(5) != 0xAA) return;
  m.Header("HEALTHMON", "data");
  Number(m, "pulse", PackedVital(p, 6));
  Number(m, "respiration", PackedVital(p, 8));
  Number(m, "movement", PackedVital(p, 10));
  Number(m, "pulseavg", p.U8(12));
  Number(m, "respirationavg", p.U8(13));
  Number(m, "movementavg", p.U8(14) * 256 + p.U8(15));
  Number(m, "sleeplevel", static_cast<std::int8_t>(p.U8(16)));
}

void DecodeSphygmometer(NodeMessage& m) {
  static const char* const kAcks[] = {"PowerOn", "Start", "Stop"};
  const std::uint8_t fn = m.Reply().functionByte;
  const PayloadReader p = m.Payload();
  if (fn >= 0x30 && fn <= 0x32) {
    m.Header("SPHYGMOMETER", "ack");
    m.String("info", WordOf(kAcks, fn - 0x30u));
  } else if (fn == 0x50) {
    // A sample while measuring; the pressure is sent high byte first.
    m.Header("SPHYGMOMETER", "data");
    m.UInt("pressure", "", "string", "", 0, p.U8(4) * 256u + p.U8(5));
    m.String("heartbreak", p.U8(6) == 1 ? "true" : "false");
  } else if (fn == 0x51) {
    m.Header("SPHYGMOMETER", "result");
    m.Element("systolicpressure", "mmHg", "string", "", 0, p.U8(4));
    m.Element("diastolicpressure", "mmHg", "string", "", 0, p.U8(5));
    m.Element("heartrate", "", "string", "", 0, p.U8(6));
    m.String("arrhythmia", p.U8(7) == 0 ? "true" : "false");
  }
}
