#pragma once
// The library's exports that the program calls, gathered in one table of
// function pointers. At start the program fills the table from
// libsentrell.so by name; tests put a recording table in its place.
#include <type_traits>

#include "sentrell.h"

// Every export the pages use, in the order of the public header.
#define DEMO_BOUND_EXPORTS(X) \
  X(CM_Init) \
  X(CM_Free) \
  X(CM_Login) \
  X(CM_GetServerInfo) \
  X(CM_SetNotifyWindow) \
  X(CM_SetNotifyThreadID) \
  X(CM_SetNotifyUDPPort) \
  X(CM_SetNVSXmlPath) \
  X(CM_GetNVSXmlPath) \
  X(CM_QueryNodesStatusOfNVS) \
  X(CM_CallNVS) \
  X(CM_OpenNVSAudio) \
  X(CM_StopCall) \
  X(CM_IOT_VLR_UpBar) \
  X(CM_IOT_LAMP_Ctrl) \
  X(CM_IOT_LAMP_QueryStatus) \
  X(CM_IOT_EC_Ctrl) \
  X(CM_IOT_EC_QueryStatus) \
  X(CM_IOT_POWER_Ctrl) \
  X(CM_IOT_POWER_QueryStatus) \
  X(CM_IOT_CONTROLTC_Ctrl) \
  X(CM_IOT_CONTROLTC_QueryStatus) \
  X(CM_IOT_DEVPST_Ctrl) \
  X(CM_IOT_WCAW_Ctrl) \
  X(CM_IOT_CC_Control) \
  X(CM_IOT_CC_QueryStatus) \
  X(CM_IOT_DCDB_QueryStatus) \
  X(CM_IOT_ADAPTER_ReqType) \
  X(CM_IOT_ADAPTER_ReqData) \
  X(CM_IOT_SPHYGMOMETER_Ctrl) \
  X(CM_IOT_DAIS_Sampling) \
  X(CM_IOT_DAIS_SetLimit) \
  X(CM_IOT_DAIS_StartContinuousSampling) \
  X(CM_IOT_DAIS_StopContinuousSampling) \
  X(CM_IOT_DAIS_QueryLimit) \
  X(CM_IOT_DAIS_QueryRange) \
  X(CM_IOT_DAIS_ZeroSetting) \
  X(CM_IOT_DAIS_QueryZeroSetting) \
  X(CM_IOT_THDC_Sampling) \
  X(CM_IOT_THDC_SetLimit) \
  X(CM_IOT_THDC_StartContinuousSampling) \
  X(CM_IOT_THDC_StopContinuousSampling) \
  X(CM_IOT_THDC_QueryLimit) \
  X(CM_IOT_THDC_QueryRange) \
  X(CM_IOT_TDC_Sampling) \
  X(CM_IOT_TDC_SetLimit) \
  X(CM_IOT_TDC_StartContinuousSampling) \
  X(CM_IOT_TDC_StopContinuousSampling) \
  X(CM_IOT_TDC_QueryLimit) \
  X(CM_IOT_TDC_QueryRange) \
  X(CM_IOT_IDC_Sampling) \
  X(CM_IOT_IDC_SetLimit) \
  X(CM_IOT_IDC_StartContinuousSampling) \
  X(CM_IOT_IDC_StopContinuousSampling) \
  X(CM_IOT_IDC_QueryLimit) \
  X(CM_IOT_IDC_QueryRange) \
  X(CM_IOT_PH_Query) \
  X(CM_IOT_CO2_Query) \
  X(CM_IOT_CO2_Start) \
  X(CM_IOT_CO2_Stop) \
  X(CM_IOT_O2_Query) \
  X(CM_IOT_O2_Start) \
  X(CM_IOT_O2_Stop) \
  X(CM_IOT_DAC_SetTime) \
  X(CM_IOT_DAC_SetTimeInterval) \
  X(CM_IOT_DAC_SetWorkdayOfMonth) \
  X(CM_IOT_DAC_SetWorkdayOfYear) \
  X(CM_IOT_DAC_AddCard) \
  X(CM_IOT_DAC_RemoveCard) \
  X(CM_IOT_DAC_Open) \
  X(CM_IOT_DAC_StartCapture) \
  X(CM_IOT_DAC_StopCapture) \
  X(CM_IOT_DAC_GetDoorStatus) \
  X(CM_IOT_DLockFinger_SetTime) \
  X(CM_IOT_DLockFinger_SetTimeInterval) \
  X(CM_IOT_DLockFinger_SetWorkdayOfMonth) \
  X(CM_IOT_DLockFinger_SetWorkdayOfYear) \
  X(CM_IOT_DLockFinger_OpenDoor) \
  X(CM_IOT_DLockFinger_StartCapture) \
  X(CM_IOT_DLockFinger_StopCapture) \
  X(CM_IOT_DLockFinger_QueryDoorStatus) \
  X(CM_IOT_DLockFinger_QueryUserCount) \
  X(CM_IOT_DLockFinger_RemoveUser) \
  X(CM_IOT_DLockFinger_RemoveAllUser) \
  X(CM_IOT_DLockFinger_QueryUserPermission) \
  X(CM_IOT_DLockFinger_SetMatchingLevel) \
  X(CM_IOT_DLockFinger_QueryMatchingLevel) \
  X(CM_IOT_DLockFinger_SetFingerprintFeature) \
  X(CM_IOT_DLockFinger_QueryFingerprintFeature) \
  X(CM_IOT_CABMGZ_GetWeightInBox) \
  X(CM_IOT_CABMGZ_OpenBox) \
  X(CM_IOT_CABMGZ_AddAdvUserToBox) \
  X(CM_IOT_CABMGZ_RemoveAdvUserFromBox) \
  X(CM_IOT_CABMGZ_ClearAdminInBox) \
  X(CM_IOT_CABMGZ_RemoveBoxFromCabinet) \
  X(CM_IOT_CABMGZ_ClearAdminInCabinet) \
  X(CM_IOT_CABMGZ_GetAdminInfoFromCabinet) \
  X(CM_IOT_CABMGZ_GetBoxInfoOfCabinet) \
  X(CM_IOT_CABMGZ_ReinitCabinet) \
  X(CM_IOT_CABMGZ_AddUserToBox) \
  X(CM_IOT_CABMGZ_RemoveUserFromBox) \
  X(CM_IOT_CABMGZ_ClearUserInBox) \
  X(CM_IOT_CABMGZ_ClearAdvUserInBox) \
  X(CM_IOT_PowerMeterCtrl_Init) \
  X(CM_IOT_PowerMeterCtrl_SetDate) \
  X(CM_IOT_PowerMeterCtrl_SetTime) \
  X(CM_IOT_PowerMeterCtrl_SetAccountDay) \
  X(CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount) \
  X(CM_IOT_PowerMeterCtrl_SetMaximumCurrent) \
  X(CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount) \
  X(CM_IOT_PowerMeterCtrl_RelayOn) \
  X(CM_IOT_PowerMeterCtrl_RelayOff) \
  X(CM_IOT_PowerMeterCtrl_QueryData) \
  X(CM_IOT_PowerMeterCtrl_QueryParameter) \
  X(CM_IOT_WaterMeterCtrl_Calibrate) \
  X(CM_IOT_WaterMeterCtrl_ValveTest) \
  X(CM_IOT_WaterMeterCtrl_ValveControl) \
  X(CM_IOT_WaterMeterCtrl_SetFactoryMode) \
  X(CM_IOT_WaterMeterCtrl_QueryValveStatus) \
  X(CM_IOT_WaterMeterCtrl_QueryData) \
  X(CM_IOT_WaterMeterCtrl_QueryMeterId) \
  X(CM_IOT_GasMeterCtrl_Calibrate) \
  X(CM_IOT_GasMeterCtrl_QueryData) \
  X(CM_IOT_GasMeterCtrl_QueryMeterId) \
  X(CM_IOT_HA_VCR) \
  X(CM_IOT_HA_SAT) \
  X(CM_IOT_HA_DVD) \
  X(CM_IOT_HA_CD) \
  X(CM_IOT_HA_AC) \
  X(CM_IOT_HA_TV) \
  X(CM_IOT_HA_STB) \
  X(CM_IOT_HA_GetACCurValue) \
  X(CM_IOT_ICREAD_Ctrl) \
  X(CM_IOT_ICREAD_SetMode1) \
  X(CM_IOT_ICREAD_SetMode2) \
  X(CM_IOT_ICREAD_SetMode3) \
  X(CM_IOT_ICREAD_QueryConfig) \
  X(CM_IOT_ICREAD_QueryStatus) \
  X(CM_IOT_WATER_Ctrl) \
  X(CM_IOT_WATER_SetTimer) \
  X(CM_IOT_WATER_TimerCtrl) \
  X(CM_IOT_WATER_QueryStatus) \
  X(CM_IOT_CARRFIDControl) \
  X(CM_IOT_DEVIO_Ctrl) \
  X(CM_IOT_DEVIO_GetInfo)


struct SentrellApi {
#define DEMO_API_MEMBER(name) decltype(&::name) name = nullptr;
  DEMO_BOUND_EXPORTS(DEMO_API_MEMBER)
#undef DEMO_API_MEMBER
};

// What an export that the library does not provide gives: nothing for the
// functions without a result, a null handle for CM_Init and the library's
// error result -1 for every other function.
template <typename F>
struct MissingExport;

template <typename R, typename... A>
struct MissingExport<R (*)(A...)> {
  static R Call(A...) {
    if constexpr (std::is_void_v<R>) {
      return;
    } else if constexpr (std::is_pointer_v<R>) {
      return nullptr;
    } else {
      return static_cast<R>(-1);
    }
  }
};

// A table whose entries all behave as missing exports.
SentrellApi MissingApi();

// Number of entries in the table.
int BoundExportCount();

// The table the program calls through. Until something is bound every entry
// is a missing export, so that no call ever goes through a null pointer.
SentrellApi& Api();

// Replaces the whole table; entries left null become missing exports.
void SetApi(const SentrellApi& api);
