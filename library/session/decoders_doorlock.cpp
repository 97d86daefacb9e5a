// Replies and events of the card door lock and the fingerprint door lock.
#include <cstdio>

#include "library/session/codecs.h"
#include "library/session/doorlock_feature.h"
#include "library/session/reply_decoders.h"

namespace {

// The words of the events, from the function byte in each comment on.
const char* const kLockAlarms[] = {"DoorBroken", "ReaderBroken", "Snapshot", "Force"};                        // 0x10
const char* const kLockFaults[] = {"ReaderKey", "ReaderUART", "CCMemory", "CCRTC", "OpenFail", "CloseFail"};  // 0x20
// 0x30: 0x38, 0x39 and 0x3E have no word.
const char* const kLockOperations[] = {"SetRTC",
                                       "SetInterval",
                                       "SetMonthWorkday",
                                       "SetYearWorkday",
                                       "AddSuperCard",
                                       "RemoveSuperCard",
                                       "OpenDoor",
                                       "StartSnapshot",
                                       "",
                                       "",
                                       "ClearGuestCard",
                                       "CardOperation",
                                       "GuestCardSort",
                                       "TrnasCard",
                                       "",
                                       "DoorStatus"};
const char* const kDoorStates[] = {"Ring", "IndoorOpen", "DoorOpen", "DoorClose"};  // 0x40

const char* const kFingerAlarms[] = {"DoorBroken", "", "Capture"};                   // 0x10
const char* const kFingerFaults[] = {"CCMemory", "CCRTC", "OpenFail", "CloseFail"};  // 0x22
// 0x30
const char* const kFingerOperations[] = {"SetRTC",     "SetInterval",  "SetMonthWorkday",       "SetYearWorkday",
                                         "OpenDoor",   "StartCapture", "StopCapture",           "DoorStatus",
                                         "RemoveUser", "ClearUser",    "SetFingerprintFeature", "SetMatchLevel"};

template <std::size_t N>
bool Listed(std::uint8_t fn, std::uint8_t base, const char* const (&)[N]) {
  return fn >= base && fn - base < static_cast<int>(N);
}

// Payload byte 1 of an operation's result.
const char* ResultOf(const NodeMessage& m) {
  const std::uint8_t code = m.Payload().U8(1);
  return code == 0x55 ? "success" : code == 0xAA ? "failure" : "";
}

void Number(NodeMessage& m, const char* name, std::uint32_t value) { m.UInt(name, "", "number", "", 0, value); }

// Alarms, faults, operation results and door states: a word of a table.
template <std::size_t N>
bool Word(NodeMessage& m, const char* devtype, const char* msg, const char* name, std::uint8_t base,
          const char* const (&words)[N]) {
  const std::uint8_t fn = m.Reply().functionByte;
  if (!Listed(fn, base, words)) return false;
  m.Header(devtype, msg);
  m.String(name, WordOf(words, fn - base));
  return true;
}

// An operation's result: its word and how it went.
template <std::size_t N>
bool Operation(NodeMessage& m, const char* devtype, const char* const (&words)[N]) {
  if (!Word(m, devtype, "OperationResult", "operation", 0x30, words)) return false;
  m.String("status", ResultOf(m));
  return true;
}

void FingerprintFeatureMessage(NodeMessage& m) {
  const std::optional<FingerprintFeature> feature = TakeFingerprintPart(m.Reply());
  if (!feature) return;
  char text[(kFeatureBytes + 2) / 3 * 4 + 1] = {};  // 260 characters and the NUL
  Base64Encode(text, feature->bytes.data(), feature->bytes.size());
  m.Header("DLOCKFINGER", "FingerprintFeature");
  m.Element("userid", "", "number", "", 0, feature->user);
  m.Element("permission", "", "number", "", 0, feature->permission);
  m.String("data", text);
}

}  // namespace

void DecodeDoorLock(NodeMessage& m) {
  static constexpr const char* kDevtype = "DLOCK";
  if (Word(m, kDevtype, "alarm", "info", 0x10, kLockAlarms) || Word(m, kDevtype, "fault", "info", 0x20, kLockFaults) ||
      Operation(m, kDevtype, kLockOperations) || Word(m, kDevtype, "status", "info", 0x40, kDoorStates))
    return;
  const PayloadReader p = m.Payload();
  switch (const std::uint8_t fn = m.Reply().functionByte) {
    case 0x50:
    case 0x51:
    case 0x52:
      m.Header(kDevtype, fn == 0x50 ? "supercardopen" : fn == 0x51 ? "supercardrequest" : "supercardindooropen");
      Number(m, "cardnum", p.U16(4));
      Number(m, "cardid", p.U32(6));
      break;
    case 0x53: {
      // Payload byte 6 does not take part: bytes 9, 8 and 7, then two zeros.
      char password[16];
      std::snprintf(password, sizeof password, "%06X", static_cast<unsigned>(p.U32(6) & 0xFFFFFF00u));
      m.Header(kDevtype, "passwordopen");
      Number(m, "id", p.U16(4));
      m.String("password", password);
      break;
    }
    case 0x54:
    case 0x55:
    case 0x56:
    case 0x57: {
      static const char* const kCardOpens[] = {"guestcardopen", "cardopen", "cardindooropen", "unknowcardopen"};
      m.Header(kDevtype, WordOf(kCardOpens, fn - 0x54u));
      Number(m, "cardid", p.U32(4));
      break;
    }
    case 0x58:
      m.Header(kDevtype, "publicpasswordopen");
      Number(m, "id", p.U16(4));
      m.String("password", "000000");
      break;
    default:
      break;
  }
}

void DecodeFingerprintLock(NodeMessage& m) {
  static constexpr const char* kDevtype = "DLOCKFINGER";
  if (Word(m, kDevtype, "alarm", "info", 0x10, kFingerAlarms) ||
      Word(m, kDevtype, "fault", "info", 0x22, kFingerFaults) || Operation(m, kDevtype, kFingerOperations) ||
      Word(m, kDevtype, "status", "info", 0x40, kDoorStates))
    return;
  const PayloadReader p = m.Payload();
  switch (const std::uint8_t fn = m.Reply().functionByte) {
    case 0x50:
    case 0x51:
      m.Header(kDevtype, fn == 0x50 ? "FingerprintOpen" : "PasswordOpen");
      Number(m, "userid", p.U16(4));
      Number(m, "permision", p.U8(6));  // this key is spelt so; the feature's is "permission"
      break;
    case 0x52:
      FingerprintFeatureMessage(m);
      break;
    case 0x53:
      m.Header(kDevtype, "MatchLevel");
      Number(m, "data", p.U8(4));
      break;
    case 0x54:
      m.Header(kDevtype, "UserCount");
      Number(m, "data", p.U16(4));
      break;
    case 0x55:
      m.Header(kDevtype, "UserPermission");
      Number(m, "data", p.U8(4));
      break;
    default:
      break;
  }
}
