// Exports of the electricity, water and gas meter controllers.
#include <optional>

#include "library/api/commands_meters.h"
#include "library/api/export_frame.h"
#include "sentrell.h"

extern "C" {

SENTRELL_API int CM_IOT_PowerMeterCtrl_Init(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PowerMeterCtrlInit(); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_SetDate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               unsigned int addressLow, unsigned int addressHigh, unsigned int code1,
                                               unsigned int code2, const char* date) {
  if (!date) return kExportFailed;
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return PowerMeterCtrlSetDate(addressLow, addressHigh, code1, code2, date); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_SetTime(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               unsigned int addressLow, unsigned int addressHigh, unsigned int code1,
                                               unsigned int code2, const char* time) {
  if (!time) return kExportFailed;
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return PowerMeterCtrlSetTime(addressLow, addressHigh, code1, code2, time); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_SetAccountDay(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, unsigned int addressLow,
                                                     unsigned int addressHigh, unsigned int code1, unsigned int code2,
                                                     int day, int hour) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return PowerMeterCtrlSetAccountDay(addressLow, addressHigh, code1, code2, day, hour); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                                  uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PowerMeterCtrlClearAvailableEngeryAmount(); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_SetMaximumCurrent(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                         uint16_t nodeaddr, unsigned int addressLow,
                                                         unsigned int addressHigh, unsigned int code1,
                                                         unsigned int code2, float current) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return PowerMeterCtrlSetMaximumCurrent(addressLow, addressHigh, code1, code2, current); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                                uint16_t nodeaddr, unsigned int addressLow,
                                                                unsigned int addressHigh, unsigned int code1,
                                                                unsigned int code2, float amount) {
  return Command(handle, nvsid, netid, nodeaddr, [&] {
    return PowerMeterCtrlAddAvailableEnergyAmount(addressLow, addressHigh, code1, code2, amount);
  });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_RelayOn(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PowerMeterCtrlRelayOn(); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_RelayOff(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PowerMeterCtrlRelayOff(); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_QueryData(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                 uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PowerMeterCtrlQueryData(); });
}

SENTRELL_API int CM_IOT_PowerMeterCtrl_QueryParameter(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                      uint16_t nodeaddr, int parameter) {
  return Command(handle, nvsid, netid, nodeaddr, [parameter] { return PowerMeterCtrlQueryParameter(parameter); });
}

SENTRELL_API int CM_IOT_WaterMeterCtrl_Calibrate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                 unsigned int addressLow, unsigned int addressHigh, float value) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return WaterMeterCtrlCalibrate(addressLow, addressHigh, value); });
}

SENTRELL_API int CM_IOT_WaterMeterCtrl_ValveTest(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                                 unsigned int addressLow, unsigned int addressHigh) {
  return Command(handle, nvsid, netid, nodeaddr, [&] { return WaterMeterCtrlValveTest(addressLow, addressHigh); });
}

SENTRELL_API int CM_IOT_WaterMeterCtrl_ValveControl(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr, unsigned int addressLow,
                                                    unsigned int addressHigh, int value) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return WaterMeterCtrlValveControl(addressLow, addressHigh, value); });
}

SENTRELL_API int CM_IOT_WaterMeterCtrl_SetFactoryMode(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                      uint16_t nodeaddr, unsigned int addressLow,
                                                      unsigned int addressHigh, int on) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [&] { return WaterMeterCtrlSetFactoryMode(addressLow, addressHigh, on); });
}

SENTRELL_API int CM_IOT_WaterMeterCtrl_QueryValveStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                        uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return WaterMeterCtrlQueryValveStatus(); });
}

SENTRELL_API int CM_IOT_WaterMeterCtrl_QueryData(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                 uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return WaterMeterCtrlQueryData(); });
}

SENTRELL_API int CM_IOT_WaterMeterCtrl_QueryMeterId(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return WaterMeterCtrlQueryMeterId(); });
}

SENTRELL_API int CM_IOT_GasMeterCtrl_Calibrate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                               unsigned int addressLow, unsigned int addressHigh, float value) {
  return Command(handle, nvsid, netid, nodeaddr, [&] { return GasMeterCtrlCalibrate(addressLow, addressHigh, value); });
}

SENTRELL_API int CM_IOT_GasMeterCtrl_QueryData(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return GasMeterCtrlQueryData(); });
}

SENTRELL_API int CM_IOT_GasMeterCtrl_QueryMeterId(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                  uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return GasMeterCtrlQueryMeterId(); });
}

}  // extern "C"
