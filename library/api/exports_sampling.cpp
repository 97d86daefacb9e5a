// Exports of the sampling collectors and the pH, CO2 and O2 analysers.
#include <optional>

#include "library/api/commands_sampling.h"
#include "library/api/export_frame.h"
#include "sentrell.h"

extern "C" {

// DAIS
SENTRELL_API int CM_IOT_DAIS_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DaisSampling(); });
}
SENTRELL_API int CM_IOT_DAIS_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                      float xLower, float xUpper, float yLower, float yUpper) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [xLower, xUpper, yLower, yUpper] { return DaisSetLimit(xLower, xUpper, yLower, yUpper); });
}
SENTRELL_API int CM_IOT_DAIS_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, int periodMs, int count) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [periodMs, count] { return DaisStartContinuousSampling(periodMs, count); });
}
SENTRELL_API int CM_IOT_DAIS_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DaisStopContinuousSampling(); });
}
SENTRELL_API int CM_IOT_DAIS_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DaisQueryLimit(); });
}
SENTRELL_API int CM_IOT_DAIS_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DaisQueryRange(); });
}
SENTRELL_API int CM_IOT_DAIS_ZeroSetting(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DaisZeroSetting(); });
}
SENTRELL_API int CM_IOT_DAIS_QueryZeroSetting(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DaisQueryZeroSetting(); });
}

// THDC
SENTRELL_API int CM_IOT_THDC_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return ThdcSampling(); });
}
SENTRELL_API int CM_IOT_THDC_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                      float temperatureLower, float temperatureUpper, float humidityLower,
                                      float humidityUpper) {
  return Command(handle, nvsid, netid, nodeaddr, [temperatureLower, temperatureUpper, humidityLower, humidityUpper] {
    return ThdcSetLimit(temperatureLower, temperatureUpper, humidityLower, humidityUpper);
  });
}
SENTRELL_API int CM_IOT_THDC_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                     uint16_t nodeaddr, int periodMs, int count) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [periodMs, count] { return ThdcStartContinuousSampling(periodMs, count); });
}
SENTRELL_API int CM_IOT_THDC_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return ThdcStopContinuousSampling(); });
}
SENTRELL_API int CM_IOT_THDC_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return ThdcQueryLimit(); });
}
SENTRELL_API int CM_IOT_THDC_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return ThdcQueryRange(); });
}

// TDC
SENTRELL_API int CM_IOT_TDC_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return TdcSampling(); });
}
SENTRELL_API int CM_IOT_TDC_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, float lower,
                                     float upper) {
  return Command(handle, nvsid, netid, nodeaddr, [lower, upper] { return TdcSetLimit(lower, upper); });
}
SENTRELL_API int CM_IOT_TDC_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr, int periodMs, int count) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [periodMs, count] { return TdcStartContinuousSampling(periodMs, count); });
}
SENTRELL_API int CM_IOT_TDC_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                   uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return TdcStopContinuousSampling(); });
}
SENTRELL_API int CM_IOT_TDC_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return TdcQueryLimit(); });
}
SENTRELL_API int CM_IOT_TDC_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return TdcQueryRange(); });
}

// IDC
SENTRELL_API int CM_IOT_IDC_Sampling(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return IdcSampling(); });
}
SENTRELL_API int CM_IOT_IDC_SetLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, float lower,
                                     float upper) {
  return Command(handle, nvsid, netid, nodeaddr, [lower, upper] { return IdcSetLimit(lower, upper); });
}
SENTRELL_API int CM_IOT_IDC_StartContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                    uint16_t nodeaddr, int periodMs, int count) {
  return Command(handle, nvsid, netid, nodeaddr,
                 [periodMs, count] { return IdcStartContinuousSampling(periodMs, count); });
}
SENTRELL_API int CM_IOT_IDC_StopContinuousSampling(IotHandle* handle, uint32_t nvsid, uint16_t netid,
                                                   uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return IdcStopContinuousSampling(); });
}
SENTRELL_API int CM_IOT_IDC_QueryLimit(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return IdcQueryLimit(); });
}
SENTRELL_API int CM_IOT_IDC_QueryRange(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return IdcQueryRange(); });
}

// PH
SENTRELL_API int CM_IOT_PH_Query(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PhQuery(); });
}
SENTRELL_API int CM_IOT_PH_Start(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int periodMs,
                                 int count) {
  return Command(handle, nvsid, netid, nodeaddr, [periodMs, count] { return PhStart(periodMs, count); });
}
SENTRELL_API int CM_IOT_PH_Stop(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PhStop(); });
}
SENTRELL_API int CM_IOT_PH_Calibrate(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PhCalibrate(); });
}

// CO2
SENTRELL_API int CM_IOT_CO2_Query(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return Co2Query(); });
}
SENTRELL_API int CM_IOT_CO2_Start(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int periodMs,
                                  int count) {
  return Command(handle, nvsid, netid, nodeaddr, [periodMs, count] { return Co2Start(periodMs, count); });
}
SENTRELL_API int CM_IOT_CO2_Stop(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return Co2Stop(); });
}

// O2
SENTRELL_API int CM_IOT_O2_Query(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return O2Query(); });
}
SENTRELL_API int CM_IOT_O2_Start(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int periodMs,
                                 int count) {
  return Command(handle, nvsid, netid, nodeaddr, [periodMs, count] { return O2Start(periodMs, count); });
}
SENTRELL_API int CM_IOT_O2_Stop(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return O2Stop(); });
}

}  // extern "C"
