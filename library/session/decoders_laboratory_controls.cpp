// Replies of the camera cover, the water valve and the two timed switches.
#include <cstdio>

#include "library/session/reply_decoders.h"

namespace {

const char* const kCoverPositions[] = {"closed", "opened", "unknown"};

void Status(NodeMessage& m, const char* devtype, const char* msg, const char* status) {
  m.Header(devtype, msg);
  m.String("status", status);
}

// The cover's position word; a failure report gives it the unit "s".
void Position(NodeMessage& m, std::uint8_t index, const char* unit) {
  m.String("position", unit, "string", "", 0, WordOf(kCoverPositions, index));
}

void TimedSwitch(NodeMessage& m, const char* devtype) {
  const PayloadReader p = m.Payload();
  switch (m.Reply().functionByte) {
    case 0x30:
      Status(m, devtype, "status", "TurnOn");
      break;
    case 0x31:
      Status(m, devtype, "status", "TurnOff");
      break;
    case 0x50:
      Status(m, devtype, "status", "SetActiveTime");
      break;
    case 0x51: {
      char begin[16], end[16];
      std::snprintf(begin, sizeof begin, "%02d:%02d", p.U8(0), p.U8(1));
      std::snprintf(end, sizeof end, "%02d:%02d", p.U8(2), p.U8(3));
      m.Header(devtype, "ActiveTime");
      m.String("begin", begin);
      m.String("end", end);
      break;
    }
    case 0x52:
      Status(m, devtype, "status", "SetDelayTime");
      break;
    default:
      break;
  }
}

}  // namespace

void DecodeCameraCover(NodeMessage& m) {
  const PayloadReader p = m.Payload();
  const std::uint8_t fn = m.Reply().functionByte;
  if (fn == 0x40) {
    m.Header("CC", "CurrentStatus");
    Position(m, p.U8(0), "");
    return;
  }
  if (fn != 0x30) return;
  const std::uint8_t sub = p.U8(0);
  switch (sub) {
    case 0x00:
    case 0x01:
      m.Header("CC", sub == 0x00 ? "BeginClose" : "BeginOpen");
      m.Element("waittime", "s", "number", "", 0, p.U8(1));
      break;
    case 0x0A:
    case 0x0B:
      m.Header("CC", "OperationSuccess");
      m.String("operation", sub == 0x0A ? "close" : "open");
      break;
    case 0x14:
    case 0x15:
      m.Header("CC", "OperationFailure");
      m.String("operation", sub == 0x14 ? "close" : "open");
      Position(m, p.U8(1), "s");
      break;
    default:
      break;
  }
}

void DecodeWaterValve(NodeMessage& m) {
  const char* state = m.Payload().U8(4) != 0 ? "on" : "off";
  switch (m.Reply().functionByte) {
    case 0x12:
      m.Header("WATER", "alarm");
      m.String("alarmtype", "broken");
      break;
    case 0x30:
    case 0x31:
    case 0x43:
      Status(m, "WATER", "status", state);
      break;
    case 0x32:
      Status(m, "WATER", "settimer", state);
      break;
    case 0x33:
      Status(m, "WATER", "timeron", state);
      break;
    case 0x34:
      Status(m, "WATER", "timeroff", state);
      break;
    default:
      break;
  }
}

void DecodeVlControl(NodeMessage& m) { TimedSwitch(m, "VLCONTROL"); }
void DecodeIfControl(NodeMessage& m) { TimedSwitch(m, "IFCONTROL"); }
