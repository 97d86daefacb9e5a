// Exports of the laboratory devices.
#include <initializer_list>

#include "library/api/commands_laboratory.h"
#include "library/api/export_frame.h"
#include "sentrell.h"

namespace {

// A device command that carries texts of the caller: a missing text sends
// nothing.
template <class Describe>
int TextCommand(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                std::initializer_list<const char*> texts, Describe describe) {
  for (const char* text : texts)
    if (text == nullptr) return kExportFailed;
  return Command(handle, nvsid, netid, nodeaddr, describe);
}

}  // namespace

extern "C" {

SENTRELL_API int CM_IOT_ICREAD_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return IcreadCtrl(on); });
}
SENTRELL_API int CM_IOT_ICREAD_SetMode1(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                        const char* school) {
  return TextCommand(handle, nvsid, netid, nodeaddr, {school}, [school] { return IcreadSetMode1(school); });
}
SENTRELL_API int CM_IOT_ICREAD_SetMode2(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                        const char* school, int timing, int startWeekday, int startHour,
                                        int startMinute, int endWeekday, int endHour, int endMinute) {
  return TextCommand(handle, nvsid, netid, nodeaddr, {school}, [&] {
    return IcreadSetMode2(school, timing, startWeekday, startHour, startMinute, endWeekday, endHour, endMinute);
  });
}
SENTRELL_API int CM_IOT_ICREAD_SetMode3(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                        const char* school, int days, int hours, int minutes) {
  return TextCommand(handle, nvsid, netid, nodeaddr, {school},
                     [&] { return IcreadSetMode3(school, days, hours, minutes); });
}
SENTRELL_API int CM_IOT_ICREAD_QueryConfig(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return IcreadQueryConfig(); });
}
SENTRELL_API int CM_IOT_ICREAD_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return IcreadQueryStatus(); });
}

SENTRELL_API int CM_IOT_WATER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return WaterCtrl(on); });
}
SENTRELL_API int CM_IOT_WATER_SetTimer(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                       int onWeekday, int onHour, int onMinute, int offWeekday, int offHour,
                                       int offMinute, int timing) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return WaterSetTimer(onWeekday, onHour, onMinute, offWeekday, offHour, offMinute, timing); });
}
SENTRELL_API int CM_IOT_WATER_TimerCtrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return WaterTimerCtrl(on); });
}
SENTRELL_API int CM_IOT_WATER_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return WaterQueryStatus(); });
}

SENTRELL_API int CM_IOT_CARRFIDControl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int op) {
  return Command(handle, nvsid, netid, nodeaddr, [op] { return CarrfidControl(op); });
}

SENTRELL_API int CM_IOT_DEVIO_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int school,
                                   int college, int department, int lab) {
  return Command(handle, nvsid, netid, nodeaddr, [&] { return DevioCtrl(school, college, department, lab); });
}
SENTRELL_API int CM_IOT_DEVIO_GetInfo(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DevioGetInfo(); });
}

SENTRELL_API int CM_IOT_VLCONTROL_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return VlcontrolCtrl(on); });
}
SENTRELL_API int CM_IOT_VLCONTROL_SetActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                const char* begin, const char* end) {
  return TextCommand(handle, nvsid, netid, nodeaddr, {begin, end}, [&] { return VlcontrolSetActiveTime(begin, end); });
}
SENTRELL_API int CM_IOT_VLCONTROL_QueryActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                  uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return VlcontrolQueryActiveTime(); });
}
SENTRELL_API int CM_IOT_VLCONTROL_SetDelayTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int value) {
  return Command(handle, nvsid, netid, nodeaddr, [value] { return VlcontrolSetDelayTime(value); });
}

SENTRELL_API int CM_IOT_IFCONTROL_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return IfcontrolCtrl(on); });
}
SENTRELL_API int CM_IOT_IFCONTROL_SetActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                const char* begin, const char* end) {
  return TextCommand(handle, nvsid, netid, nodeaddr, {begin, end}, [&] { return IfcontrolSetActiveTime(begin, end); });
}
SENTRELL_API int CM_IOT_IFCONTROL_QueryActiveTime(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                  uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return IfcontrolQueryActiveTime(); });
}
SENTRELL_API int CM_IOT_IFCONTROL_SetDelayTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               int value) {
  return Command(handle, nvsid, netid, nodeaddr, [value] { return IfcontrolSetDelayTime(value); });
}

}  // extern "C"
