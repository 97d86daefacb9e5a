// Exports of the card door access controller and the fingerprint door lock.
#include <optional>
#include <vector>

#include "library/api/commands_doorlock.h"
#include "library/api/export_frame.h"
#include "platform/clock.h"
#include "sentrell.h"

namespace {

constexpr std::uint32_t kWorkdayPauseMs = 500;
constexpr std::uint32_t kFeaturePauseMs = 100;

// The working days of a year: two frames with a pause between them; the
// result is the second frame's.
template <class Describe>
int WorkdayOfYear(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, Describe describe) {
  return WithSession(handle, [&](CIotSession& s) {
    const std::vector<IotCommand> frames = describe();
    SendCommand(s, nvsid, netid, nodeaddr, frames.at(0));  // the second goes out whatever this gives
    plat::SleepMs(kWorkdayPauseMs);
    return SendCommand(s, nvsid, netid, nodeaddr, frames.at(1));
  });
}

}  // namespace

extern "C" {

// ---- card door access

SENTRELL_API int CM_IOT_DAC_SetTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                    const char* time) {
  if (time == nullptr) return kExportFailed;
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DacSetTime(time); });
}
SENTRELL_API int CM_IOT_DAC_SetTimeInterval(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                            int hygiene, int work, int overtime, int rest) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DacSetTimeInterval(hygiene, work, overtime, rest); });
}
SENTRELL_API int CM_IOT_DAC_SetWorkdayOfMonth(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                              int year, int month, const unsigned char* data, int length) {
  if (data == nullptr) return kExportFailed;
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DacSetWorkdayOfMonth(year, month, data, length); });
}
SENTRELL_API int CM_IOT_DAC_SetWorkdayOfYear(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                             int year, const unsigned char* data, int length) {
  if (data == nullptr) return kExportFailed;
  return WorkdayOfYear(handle, nvsid, netid, nodeaddr, [=] { return DacSetWorkdayOfYear(year, data, length); });
}
SENTRELL_API int CM_IOT_DAC_AddCard(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int attribute,
                                    int code, int cardNumber, int cardId) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DacAddCard(attribute, code, cardNumber, cardId); });
}
SENTRELL_API int CM_IOT_DAC_Authorize(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                      int attribute, int cardNumber, int cardId) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DacAuthorize(attribute, cardNumber, cardId); });
}
SENTRELL_API int CM_IOT_DAC_RemoveCard(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                       int attribute, int cardNumber, int cardId) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DacRemoveCard(attribute, cardNumber, cardId); });
}
SENTRELL_API int CM_IOT_DAC_Open(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DacOpen(); });
}
SENTRELL_API int CM_IOT_DAC_StartCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DacStartCapture(); });
}
SENTRELL_API int CM_IOT_DAC_StopCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DacStopCapture(); });
}
SENTRELL_API int CM_IOT_DAC_GetDoorStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DacGetDoorStatus(); });
}

// ---- fingerprint door lock

SENTRELL_API int CM_IOT_DLockFinger_SetTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                            const char* time) {
  if (time == nullptr) return kExportFailed;
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DLockFingerSetTime(time); });
}
SENTRELL_API int CM_IOT_DLockFinger_SetTimeInterval(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr, int hygiene, int work, int overtime, int rest) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [=] { return DLockFingerSetTimeInterval(hygiene, work, overtime, rest); });
}
SENTRELL_API int CM_IOT_DLockFinger_SetWorkdayOfMonth(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                      uint16_t nodeaddr, int year, int month, const unsigned char* data,
                                                      int length) {
  if (data == nullptr) return kExportFailed;
  return Command(handle, nvsid, netid, nodeaddr,
                 [=] { return DLockFingerSetWorkdayOfMonth(year, month, data, length); });
}
SENTRELL_API int CM_IOT_DLockFinger_SetWorkdayOfYear(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, int year, const unsigned char* data,
                                                     int length) {
  if (data == nullptr) return kExportFailed;
  return WorkdayOfYear(handle, nvsid, netid, nodeaddr, [=] { return DLockFingerSetWorkdayOfYear(year, data, length); });
}
SENTRELL_API int CM_IOT_DLockFinger_OpenDoor(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DLockFingerOpenDoor(); });
}
SENTRELL_API int CM_IOT_DLockFinger_StartCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DLockFingerStartCapture(); });
}
SENTRELL_API int CM_IOT_DLockFinger_StopCapture(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DLockFingerStopCapture(); });
}
SENTRELL_API int CM_IOT_DLockFinger_QueryDoorStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DLockFingerQueryDoorStatus(); });
}
SENTRELL_API int CM_IOT_DLockFinger_QueryUserCount(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                   uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DLockFingerQueryUserCount(); });
}
SENTRELL_API int CM_IOT_DLockFinger_RemoveUser(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int user) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DLockFingerRemoveUser(user); });
}
SENTRELL_API int CM_IOT_DLockFinger_RemoveAllUser(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                  uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DLockFingerRemoveAllUser(); });
}
SENTRELL_API int CM_IOT_DLockFinger_QueryUserPermission(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                        uint16_t nodeaddr, int user) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DLockFingerQueryUserPermission(user); });
}
SENTRELL_API int CM_IOT_DLockFinger_SetMatchingLevel(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, int level) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DLockFingerSetMatchingLevel(level); });
}
SENTRELL_API int CM_IOT_DLockFinger_QueryMatchingLevel(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                       uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DLockFingerQueryMatchingLevel(); });
}
SENTRELL_API int CM_IOT_DLockFinger_SetFingerprintFeature(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                          uint16_t nodeaddr, int user, int permission,
                                                          const char* feature) {
  if (feature == nullptr) return kExportFailed;
  return WithSession(handle, [&](CIotSession& s) {
    const std::vector<IotCommand> frames = DLockFingerSetFingerprintFeature(user, permission, feature);
    if (frames.empty()) return 0;
    bool allSent = true;
    for (const IotCommand& frame : frames) {
      if (SendCommand(s, nvsid, netid, nodeaddr, frame) != 1) allSent = false;
      plat::SleepMs(kFeaturePauseMs);
    }
    return allSent ? 1 : 0;
  });
}
SENTRELL_API int CM_IOT_DLockFinger_QueryFingerprintFeature(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                            uint16_t nodeaddr, int user) {
  return Command(handle, nvsid, netid, nodeaddr, [=] { return DLockFingerQueryFingerprintFeature(user); });
}

}  // extern "C"
