// Replies of the laboratory asset devices: the positioning scanner, the
// in/out register and the IC-card power controller.
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "library/session/reply_decoders.h"
#include "library/session/wire_text.h"

namespace {

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kWorkModes[] = {"nomode", "mode1", "mode2hour", "mode2day", "mode2week", "mode3"};
const char* const kCardErrors[] = {"noerror", "errcardinfo", "errtime", "errnotime"};
const char* const kRegisterFaults[] = {"uart", "memory", "indoorcomm", "outdoorcomm"};

struct Passage {
  const char* belong;
  const char* direction;
};
// Indexed by payload byte 3 less one.
constexpr Passage kPassages[] = {
    {"this", "in"}, {"this", "out"}, {"other", "in"}, {"other", "out"}, {"other", "bypass"}};
constexpr std::size_t kCardTextSize = 6;

const char* ResultWord(std::uint8_t value) { return value == 0x55 ? "success" : value == 0xAA ? "failure" : ""; }

void Info(NodeMessage& m, const char* devtype, const char* msg, const char* info) {
  m.Header(devtype, msg);
  m.String("info", info);
}

void Count(NodeMessage& m, const char* name, std::uint32_t value) { m.UInt(name, "", "number", "", 0, value); }
void Number(NodeMessage& m, const char* name, std::int32_t value) { m.Element(name, "", "number", "", 0, value); }

// Power state, card text, work mode and error: bytes 6 to 14 of both records.
void CardTail(NodeMessage& m, const PayloadReader& p) {
  m.String("powerstatus", p.U8(6) != 0 ? "on" : "off");
  const std::vector<std::uint8_t> text = p.Bytes(7, kCardTextSize);
  m.String("cardinfo", WireNameToUtf8(reinterpret_cast<const char*>(text.data()), text.size()).c_str());
  m.String("workmode", WordOf(kWorkModes, p.U8(13)));
  m.String("errorinfo", WordOf(kCardErrors, p.U8(14)));
}

void CardRecord(NodeMessage& m, const char* msg) {
  const PayloadReader p = m.Payload();
  m.Header("ICREAD", msg);
  m.UInt("cardid", "", "integer", "", 0, p.U32(0));
  m.Element("cardnum", "", "integer", "", 0, p.U16(4));
  CardTail(m, p);
}

// Weekday, hour and minute from three bytes at `at`.
std::string WeekTime(const PayloadReader& p, std::size_t at) {
  char text[32];
  std::snprintf(text, sizeof text, "%s %02d:%02d", WordOf(kWeekdays, p.U8(at)), p.U8(at + 1), p.U8(at + 2));
  return text;
}

void TimeRecord(NodeMessage& m) {
  const PayloadReader p = m.Payload();
  m.Header("ICREAD", "activetime");
  m.String("begintime", WeekTime(p, 0).c_str());
  m.String("endtime", WeekTime(p, 3).c_str());
  CardTail(m, p);
}

}  // namespace

void DecodePositioning(NodeMessage& m) {
  const PayloadReader p = m.Payload();
  switch (m.Reply().functionByte) {
    case 0x20:
      Info(m, "DEVPST", "fault", "cardreaderfault");
      break;
    case 0x30:
    case 0x31:
      Info(m, "DEVPST", "operationfeedback", m.Reply().functionByte == 0x30 ? "startscan" : "stopscan");
      m.String("result", ResultWord(p.U8(1)));
      break;
    case 0x41:
      Info(m, "DEVPST", "status", "scanstopped");
      break;
    case 0x50:
      m.Header("DEVPST", "data");
      Count(m, "index", p.U32(4));
      Count(m, "school", p.U16(8));
      Count(m, "college", p.U8(10));
      Count(m, "department", p.U8(11));
      Count(m, "lab", p.U8(12));
      Count(m, "instrument", p.U16(13));
      Count(m, "count", p.U16(15));
      Count(m, "share", p.U8(17));
      break;
    default:
      break;
  }
}

void DecodeInOutRegister(NodeMessage& m) {
  const PayloadReader p = m.Payload();
  const std::uint8_t fn = m.Reply().functionByte;
  if (fn == 0x10) {
    Info(m, "DEVIO", "alarm", "UNAUTHORIZEDOUT");
    Number(m, "cardnum", p.U16(4));
  } else if (fn >= 0x20 && fn <= 0x23) {
    Info(m, "DEVIO", "fault", WordOf(kRegisterFaults, fn - 0x20u));
  } else if (fn == 0x30 || fn == 0x31) {
    Info(m, "DEVIO", "feedback", fn == 0x30 ? "writebelonginfo" : "querybelonginfo");
  } else if (fn == 0x40) {
    Info(m, "DEVIO", "status", "writebelongsucc");
  } else if (fn == 0x50) {
    m.Header("DEVIO", "data");
    Number(m, "school", p.U16(4));
    Number(m, "college", p.U8(6));
    Number(m, "department", p.U8(7));
    Number(m, "lab", p.U8(8));
  } else if (fn >= 0x51 && fn <= 0x55) {
    const std::uint8_t kind = p.U8(3);
    const Passage passage = kind >= 1 && kind <= std::size(kPassages) ? kPassages[kind - 1] : Passage{"", ""};
    m.Header("DEVIO", "ioinfo");
    m.String("belong", passage.belong);
    m.String("direction", passage.direction);
    Number(m, "cardnum", p.U16(4));
  }
}

void DecodeCardPower(NodeMessage& m) {
  switch (m.Reply().functionByte) {
    case 0x13:
      Info(m, "ICREAD", "fault", "broken");
      break;
    case 0x30:
    case 0x31:
      CardRecord(m, "poweroperation");
      break;
    case 0x32:
      CardRecord(m, "modefb1");
      break;
    case 0x33:
      CardRecord(m, "modefb2");
      break;
    case 0x34:
      CardRecord(m, "modefb3");
      break;
    case 0x43:
      CardRecord(m, "powerstatus");
      break;
    case 0x44:
      CardRecord(m, "cardremove");
      break;
    case 0x45:
      CardRecord(m, "cardinvalid");
      break;
    case 0x50:
      TimeRecord(m);
      break;
    default:
      break;
  }
}
