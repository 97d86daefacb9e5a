#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/api/iot_handle.h"
#include "library/session/iot_session.h"
#include "library/session/iot_app.h"
#include "platform/files.h"
#include "sentrell.h"

namespace fs = std::filesystem;

namespace {

// Every handle-taking export built so far, called with the handle given.
std::vector<std::pair<const char*, std::function<int(IotHandle*)>>> HandleExports() {
  return {
      {"CM_Login", [](IotHandle* h) { return CM_Login(h, "127.0.0.1", "u", "p"); }},
      {"CM_GetServerInfo", [](IotHandle* h) { return CM_GetServerInfo(h, nullptr, nullptr, nullptr); }},
      {"CM_SetIOTCallBack", [](IotHandle* h) { return CM_SetIOTCallBack(h, nullptr, nullptr); }},
      {"CM_SetNotifyWindow", [](IotHandle* h) { return CM_SetNotifyWindow(h, nullptr); }},
      {"CM_SetNotifyThreadID", [](IotHandle* h) { return CM_SetNotifyThreadID(h, 0); }},
      {"CM_SetNotifyUDPPort", [](IotHandle* h) { return CM_SetNotifyUDPPort(h, 0); }},
      {"CM_SetNVSXmlPath", [](IotHandle* h) { return CM_SetNVSXmlPath(h, "/tmp/x"); }},
      {"CM_GetNVSXmlPath", [](IotHandle* h) { char b[260]; return CM_GetNVSXmlPath(h, b); }},
      {"CM_ConfigSet", [](IotHandle* h) { return CM_ConfigSet(h, 1, 1); }},
      {"CM_ConfigChangePwd", [](IotHandle* h) { return CM_ConfigChangePwd(h, 0, "x"); }},
      {"CM_QueryNodesStatusOfNVS", [](IotHandle* h) { return CM_QueryNodesStatusOfNVS(h, 5); }},
      {"CM_Snapshot", [](IotHandle* h) { return CM_Snapshot(h, 5); }},
      {"CM_GetSnapshot", [](IotHandle* h) { return CM_GetSnapshot(h, 5); }},
      {"CM_SetSnapshot", [](IotHandle* h) { return CM_SetSnapshot(h, "{}"); }},
      {"CM_PlayRecord", [](IotHandle* h) { return CM_PlayRecord(h, 5, "f"); }},
      {"CM_SeekRecord", [](IotHandle* h) { return CM_SeekRecord(h, 5, 1); }},
      {"CM_StopRecord", [](IotHandle* h) { return CM_StopRecord(h, 5); }},
      {"CM_GetRecordList", [](IotHandle* h) { return CM_GetRecordList(h, 5, "d", nullptr, 0); }},
      {"CM_PTUCtrl", [](IotHandle* h) { return CM_PTUCtrl(h, 5, 1, 1); }},
      {"CM_IOT_VLR_UpBar", [](IotHandle* h) { return CM_IOT_VLR_UpBar(h, 5, 1, 1, 1); }},
      {"CM_SendIOTPacket", [](IotHandle* h) { const unsigned char b[] = {1}; return CM_SendIOTPacket(h, 5, b, 1); }},
      {"CM_IOT_LAMP_Ctrl", [](IotHandle* h) { return CM_IOT_LAMP_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_LAMP_QueryStatus", [](IotHandle* h) { return CM_IOT_LAMP_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_EC_Ctrl", [](IotHandle* h) { return CM_IOT_EC_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_EC_QueryStatus", [](IotHandle* h) { return CM_IOT_EC_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_POWER_Ctrl", [](IotHandle* h) { return CM_IOT_POWER_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_POWER_QueryStatus", [](IotHandle* h) { return CM_IOT_POWER_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_CONTROL_Ctrl", [](IotHandle* h) { return CM_IOT_CONTROL_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_CONTROL_QueryStatus", [](IotHandle* h) { return CM_IOT_CONTROL_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_CONTROLTC_Ctrl", [](IotHandle* h) { return CM_IOT_CONTROLTC_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_CONTROLTC_QueryStatus", [](IotHandle* h) { return CM_IOT_CONTROLTC_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_DEVPST_Ctrl", [](IotHandle* h) { return CM_IOT_DEVPST_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_WCAW_Ctrl", [](IotHandle* h) { return CM_IOT_WCAW_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_CC_Control", [](IotHandle* h) { return CM_IOT_CC_Control(h, 5, 1, 1, 1); }},
      {"CM_IOT_CC_QueryStatus", [](IotHandle* h) { return CM_IOT_CC_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_DCDB_QueryStatus", [](IotHandle* h) { return CM_IOT_DCDB_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_ADAPTER_Ctrl", [](IotHandle* h) { return CM_IOT_ADAPTER_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_ADAPTER_ReqType", [](IotHandle* h) { return CM_IOT_ADAPTER_ReqType(h, 5, 1, 1); }},
      {"CM_IOT_ADAPTER_ReqData", [](IotHandle* h) { return CM_IOT_ADAPTER_ReqData(h, 5, 1, 1); }},
      {"CM_IOT_HEALTHMON_SetMode", [](IotHandle* h) { return CM_IOT_HEALTHMON_SetMode(h, 5, 1, 1, 1); }},
      {"CM_IOT_SPHYGMOMETER_Ctrl", [](IotHandle* h) { return CM_IOT_SPHYGMOMETER_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_HEACtrl", [](IotHandle* h) { return CM_IOT_HEACtrl(h, 5, 1, 1, 6, 1, 1); }},
      {"CM_IOT_HA_VCR", [](IotHandle* h) { return CM_IOT_HA_VCR(h, 5, 1, 1, 1, 1); }},
      {"CM_IOT_HA_SAT", [](IotHandle* h) { return CM_IOT_HA_SAT(h, 5, 1, 1, 1, 1); }},
      {"CM_IOT_HA_DVD", [](IotHandle* h) { return CM_IOT_HA_DVD(h, 5, 1, 1, 1, 1); }},
      {"CM_IOT_HA_CD", [](IotHandle* h) { return CM_IOT_HA_CD(h, 5, 1, 1, 1, 1); }},
      {"CM_IOT_HA_AC", [](IotHandle* h) { return CM_IOT_HA_AC(h, 5, 1, 1, 1, 1); }},
      {"CM_IOT_HA_TV", [](IotHandle* h) { return CM_IOT_HA_TV(h, 5, 1, 1, 1, 1); }},
      {"CM_IOT_HA_STB", [](IotHandle* h) { return CM_IOT_HA_STB(h, 5, 1, 1, 1, 1); }},
      {"CM_IOT_HA_GetACCurValue", [](IotHandle* h) { return CM_IOT_HA_GetACCurValue(h, 5, 1, 1, 1); }},
      {"CM_CallNVS", [](IotHandle* h) { return CM_CallNVS(h, 1000); }},
      {"CM_OpenNVSAudio", [](IotHandle* h) { return CM_OpenNVSAudio(h, 1000); }},
      {"CM_StopCall", [](IotHandle* h) { return CM_StopCall(h); }},
      {"CM_IOT_CABMGZ_GetWeightInBox", [](IotHandle* h) { return CM_IOT_CABMGZ_GetWeightInBox(h, 5, 1, 1, 1); }},
      {"CM_IOT_CABMGZ_OpenBox", [](IotHandle* h) { return CM_IOT_CABMGZ_OpenBox(h, 5, 1, 1, 1); }},
      {"CM_IOT_CABMGZ_AddAdvUserToBox",
       [](IotHandle* h) { return CM_IOT_CABMGZ_AddAdvUserToBox(h, 5, 1, 1, 1, 2, 3, 4); }},
      {"CM_IOT_CABMGZ_RemoveAdvUserFromBox",
       [](IotHandle* h) { return CM_IOT_CABMGZ_RemoveAdvUserFromBox(h, 5, 1, 1, 1, 2); }},
      {"CM_IOT_CABMGZ_ClearAdminInBox", [](IotHandle* h) { return CM_IOT_CABMGZ_ClearAdminInBox(h, 5, 1, 1, 1); }},
      {"CM_IOT_CABMGZ_RemoveBoxFromCabinet",
       [](IotHandle* h) { return CM_IOT_CABMGZ_RemoveBoxFromCabinet(h, 5, 1, 1, 1); }},
      {"CM_IOT_CABMGZ_ClearAdminInCabinet", [](IotHandle* h) { return CM_IOT_CABMGZ_ClearAdminInCabinet(h, 5, 1, 1); }},
      {"CM_IOT_CABMGZ_GetAdminInfoFromCabinet",
       [](IotHandle* h) { return CM_IOT_CABMGZ_GetAdminInfoFromCabinet(h, 5, 1, 1); }},
      {"CM_IOT_CABMGZ_GetBoxInfoOfCabinet", [](IotHandle* h) { return CM_IOT_CABMGZ_GetBoxInfoOfCabinet(h, 5, 1, 1); }},
      {"CM_IOT_CABMGZ_ReinitCabinet", [](IotHandle* h) { return CM_IOT_CABMGZ_ReinitCabinet(h, 5, 1, 1); }},
      {"CM_IOT_CABMGZ_AddUserToBox", [](IotHandle* h) { return CM_IOT_CABMGZ_AddUserToBox(h, 5, 1, 1, 1, 2); }},
      {"CM_IOT_CABMGZ_RemoveUserFromBox",
       [](IotHandle* h) { return CM_IOT_CABMGZ_RemoveUserFromBox(h, 5, 1, 1, 1, 2); }},
      {"CM_IOT_CABMGZ_ClearUserInBox", [](IotHandle* h) { return CM_IOT_CABMGZ_ClearUserInBox(h, 5, 1, 1, 1); }},
      {"CM_IOT_CABMGZ_ClearAdvUserInBox", [](IotHandle* h) { return CM_IOT_CABMGZ_ClearAdvUserInBox(h, 5, 1, 1, 1); }},
      {"CM_IOT_DAC_SetTime", [](IotHandle* h) { return CM_IOT_DAC_SetTime(h, 5, 1, 1, "2021-12-31 23:59:58"); }},
      {"CM_IOT_DAC_SetTimeInterval", [](IotHandle* h) { return CM_IOT_DAC_SetTimeInterval(h, 5, 1, 1, 1, 2, 3, 4); }},
      {"CM_IOT_DAC_SetWorkdayOfMonth",
       [](IotHandle* h) { const unsigned char d[4] = {}; return CM_IOT_DAC_SetWorkdayOfMonth(h, 5, 1, 1, 21, 1, d, 4); }},
      {"CM_IOT_DAC_SetWorkdayOfYear",
       [](IotHandle* h) { const unsigned char d[48] = {}; return CM_IOT_DAC_SetWorkdayOfYear(h, 5, 1, 1, 21, d, 48); }},
      {"CM_IOT_DAC_AddCard", [](IotHandle* h) { return CM_IOT_DAC_AddCard(h, 5, 1, 1, 1, 123456, 2, 3); }},
      {"CM_IOT_DAC_Authorize", [](IotHandle* h) { return CM_IOT_DAC_Authorize(h, 5, 1, 1, 1, 2, 3); }},
      {"CM_IOT_DAC_RemoveCard", [](IotHandle* h) { return CM_IOT_DAC_RemoveCard(h, 5, 1, 1, 1, 2, 3); }},
      {"CM_IOT_DAC_Open", [](IotHandle* h) { return CM_IOT_DAC_Open(h, 5, 1, 1); }},
      {"CM_IOT_DAC_StartCapture", [](IotHandle* h) { return CM_IOT_DAC_StartCapture(h, 5, 1, 1); }},
      {"CM_IOT_DAC_StopCapture", [](IotHandle* h) { return CM_IOT_DAC_StopCapture(h, 5, 1, 1); }},
      {"CM_IOT_DAC_GetDoorStatus", [](IotHandle* h) { return CM_IOT_DAC_GetDoorStatus(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_SetTime",
       [](IotHandle* h) { return CM_IOT_DLockFinger_SetTime(h, 5, 1, 1, "2021-12-31 23:59:58"); }},
      {"CM_IOT_DLockFinger_SetTimeInterval",
       [](IotHandle* h) { return CM_IOT_DLockFinger_SetTimeInterval(h, 5, 1, 1, 1, 2, 3, 4); }},
      {"CM_IOT_DLockFinger_SetWorkdayOfMonth", [](IotHandle* h) {
         const unsigned char d[4] = {};
         return CM_IOT_DLockFinger_SetWorkdayOfMonth(h, 5, 1, 1, 21, 1, d, 4);
       }},
      {"CM_IOT_DLockFinger_SetWorkdayOfYear", [](IotHandle* h) {
         const unsigned char d[48] = {};
         return CM_IOT_DLockFinger_SetWorkdayOfYear(h, 5, 1, 1, 21, d, 48);
       }},
      {"CM_IOT_DLockFinger_OpenDoor", [](IotHandle* h) { return CM_IOT_DLockFinger_OpenDoor(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_StartCapture", [](IotHandle* h) { return CM_IOT_DLockFinger_StartCapture(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_StopCapture", [](IotHandle* h) { return CM_IOT_DLockFinger_StopCapture(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_QueryDoorStatus",
       [](IotHandle* h) { return CM_IOT_DLockFinger_QueryDoorStatus(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_QueryUserCount", [](IotHandle* h) { return CM_IOT_DLockFinger_QueryUserCount(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_RemoveUser", [](IotHandle* h) { return CM_IOT_DLockFinger_RemoveUser(h, 5, 1, 1, 2); }},
      {"CM_IOT_DLockFinger_RemoveAllUser", [](IotHandle* h) { return CM_IOT_DLockFinger_RemoveAllUser(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_QueryUserPermission",
       [](IotHandle* h) { return CM_IOT_DLockFinger_QueryUserPermission(h, 5, 1, 1, 2); }},
      {"CM_IOT_DLockFinger_SetMatchingLevel",
       [](IotHandle* h) { return CM_IOT_DLockFinger_SetMatchingLevel(h, 5, 1, 1, 3); }},
      {"CM_IOT_DLockFinger_QueryMatchingLevel",
       [](IotHandle* h) { return CM_IOT_DLockFinger_QueryMatchingLevel(h, 5, 1, 1); }},
      {"CM_IOT_DLockFinger_SetFingerprintFeature",
       [](IotHandle* h) { return CM_IOT_DLockFinger_SetFingerprintFeature(h, 5, 1, 1, 2, 1, "AAAA"); }},
      {"CM_IOT_DLockFinger_QueryFingerprintFeature",
       [](IotHandle* h) { return CM_IOT_DLockFinger_QueryFingerprintFeature(h, 5, 1, 1, 2); }},
      {"CM_IOT_ICREAD_Ctrl", [](IotHandle* h) { return CM_IOT_ICREAD_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_ICREAD_SetMode1", [](IotHandle* h) { return CM_IOT_ICREAD_SetMode1(h, 5, 1, 1, "AB"); }},
      {"CM_IOT_ICREAD_SetMode2", [](IotHandle* h) { return CM_IOT_ICREAD_SetMode2(h, 5, 1, 1, "AB", 2, 1, 8, 0, 5, 18, 30); }},
      {"CM_IOT_ICREAD_SetMode3", [](IotHandle* h) { return CM_IOT_ICREAD_SetMode3(h, 5, 1, 1, "AB", 1, 2, 3); }},
      {"CM_IOT_ICREAD_QueryConfig", [](IotHandle* h) { return CM_IOT_ICREAD_QueryConfig(h, 5, 1, 1); }},
      {"CM_IOT_ICREAD_QueryStatus", [](IotHandle* h) { return CM_IOT_ICREAD_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_WATER_Ctrl", [](IotHandle* h) { return CM_IOT_WATER_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_WATER_SetTimer", [](IotHandle* h) { return CM_IOT_WATER_SetTimer(h, 5, 1, 1, 1, 8, 0, 1, 18, 0, 1); }},
      {"CM_IOT_WATER_TimerCtrl", [](IotHandle* h) { return CM_IOT_WATER_TimerCtrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_WATER_QueryStatus", [](IotHandle* h) { return CM_IOT_WATER_QueryStatus(h, 5, 1, 1); }},
      {"CM_IOT_CARRFIDControl", [](IotHandle* h) { return CM_IOT_CARRFIDControl(h, 5, 1, 1, 1); }},
      {"CM_IOT_DEVIO_Ctrl", [](IotHandle* h) { return CM_IOT_DEVIO_Ctrl(h, 5, 1, 1, 1, 2, 3, 4); }},
      {"CM_IOT_DEVIO_GetInfo", [](IotHandle* h) { return CM_IOT_DEVIO_GetInfo(h, 5, 1, 1); }},
      {"CM_IOT_VLCONTROL_Ctrl", [](IotHandle* h) { return CM_IOT_VLCONTROL_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_VLCONTROL_SetActiveTime", [](IotHandle* h) { return CM_IOT_VLCONTROL_SetActiveTime(h, 5, 1, 1, "08:30", "17:45"); }},
      {"CM_IOT_VLCONTROL_QueryActiveTime", [](IotHandle* h) { return CM_IOT_VLCONTROL_QueryActiveTime(h, 5, 1, 1); }},
      {"CM_IOT_VLCONTROL_SetDelayTime", [](IotHandle* h) { return CM_IOT_VLCONTROL_SetDelayTime(h, 5, 1, 1, 10); }},
      {"CM_IOT_IFCONTROL_Ctrl", [](IotHandle* h) { return CM_IOT_IFCONTROL_Ctrl(h, 5, 1, 1, 1); }},
      {"CM_IOT_IFCONTROL_SetActiveTime", [](IotHandle* h) { return CM_IOT_IFCONTROL_SetActiveTime(h, 5, 1, 1, "08:30", "17:45"); }},
      {"CM_IOT_IFCONTROL_QueryActiveTime", [](IotHandle* h) { return CM_IOT_IFCONTROL_QueryActiveTime(h, 5, 1, 1); }},
      {"CM_IOT_IFCONTROL_SetDelayTime", [](IotHandle* h) { return CM_IOT_IFCONTROL_SetDelayTime(h, 5, 1, 1, 10); }},
      {"CM_IOT_DAIS_Sampling", [](IotHandle* h) { return CM_IOT_DAIS_Sampling(h, 5, 1, 1); }},
      {"CM_IOT_DAIS_SetLimit", [](IotHandle* h) { return CM_IOT_DAIS_SetLimit(h, 5, 1, 1, 1.0f, 1.0f, 1.0f, 1.0f); }},
      {"CM_IOT_DAIS_StartContinuousSampling",
       [](IotHandle* h) { return CM_IOT_DAIS_StartContinuousSampling(h, 5, 1, 1, 1000, 1); }},
      {"CM_IOT_DAIS_StopContinuousSampling",
       [](IotHandle* h) { return CM_IOT_DAIS_StopContinuousSampling(h, 5, 1, 1); }},
      {"CM_IOT_DAIS_QueryLimit", [](IotHandle* h) { return CM_IOT_DAIS_QueryLimit(h, 5, 1, 1); }},
      {"CM_IOT_DAIS_QueryRange", [](IotHandle* h) { return CM_IOT_DAIS_QueryRange(h, 5, 1, 1); }},
      {"CM_IOT_DAIS_ZeroSetting", [](IotHandle* h) { return CM_IOT_DAIS_ZeroSetting(h, 5, 1, 1); }},
      {"CM_IOT_DAIS_QueryZeroSetting", [](IotHandle* h) { return CM_IOT_DAIS_QueryZeroSetting(h, 5, 1, 1); }},
      {"CM_IOT_THDC_Sampling", [](IotHandle* h) { return CM_IOT_THDC_Sampling(h, 5, 1, 1); }},
      {"CM_IOT_THDC_SetLimit", [](IotHandle* h) { return CM_IOT_THDC_SetLimit(h, 5, 1, 1, 1.0f, 1.0f, 1.0f, 1.0f); }},
      {"CM_IOT_THDC_StartContinuousSampling",
       [](IotHandle* h) { return CM_IOT_THDC_StartContinuousSampling(h, 5, 1, 1, 1000, 1); }},
      {"CM_IOT_THDC_StopContinuousSampling",
       [](IotHandle* h) { return CM_IOT_THDC_StopContinuousSampling(h, 5, 1, 1); }},
      {"CM_IOT_THDC_QueryLimit", [](IotHandle* h) { return CM_IOT_THDC_QueryLimit(h, 5, 1, 1); }},
      {"CM_IOT_THDC_QueryRange", [](IotHandle* h) { return CM_IOT_THDC_QueryRange(h, 5, 1, 1); }},
      {"CM_IOT_TDC_Sampling", [](IotHandle* h) { return CM_IOT_TDC_Sampling(h, 5, 1, 1); }},
      {"CM_IOT_TDC_SetLimit", [](IotHandle* h) { return CM_IOT_TDC_SetLimit(h, 5, 1, 1, 1.0f, 1.0f); }},
      {"CM_IOT_TDC_StartContinuousSampling",
       [](IotHandle* h) { return CM_IOT_TDC_StartContinuousSampling(h, 5, 1, 1, 1000, 1); }},
      {"CM_IOT_TDC_StopContinuousSampling", [](IotHandle* h) { return CM_IOT_TDC_StopContinuousSampling(h, 5, 1, 1); }},
      {"CM_IOT_TDC_QueryLimit", [](IotHandle* h) { return CM_IOT_TDC_QueryLimit(h, 5, 1, 1); }},
      {"CM_IOT_TDC_QueryRange", [](IotHandle* h) { return CM_IOT_TDC_QueryRange(h, 5, 1, 1); }},
      {"CM_IOT_IDC_Sampling", [](IotHandle* h) { return CM_IOT_IDC_Sampling(h, 5, 1, 1); }},
      {"CM_IOT_IDC_SetLimit", [](IotHandle* h) { return CM_IOT_IDC_SetLimit(h, 5, 1, 1, 1.0f, 1.0f); }},
      {"CM_IOT_IDC_StartContinuousSampling",
       [](IotHandle* h) { return CM_IOT_IDC_StartContinuousSampling(h, 5, 1, 1, 1000, 1); }},
      {"CM_IOT_IDC_StopContinuousSampling", [](IotHandle* h) { return CM_IOT_IDC_StopContinuousSampling(h, 5, 1, 1); }},
      {"CM_IOT_IDC_QueryLimit", [](IotHandle* h) { return CM_IOT_IDC_QueryLimit(h, 5, 1, 1); }},
      {"CM_IOT_IDC_QueryRange", [](IotHandle* h) { return CM_IOT_IDC_QueryRange(h, 5, 1, 1); }},
      {"CM_IOT_PH_Query", [](IotHandle* h) { return CM_IOT_PH_Query(h, 5, 1, 1); }},
      {"CM_IOT_PH_Start", [](IotHandle* h) { return CM_IOT_PH_Start(h, 5, 1, 1, 1000, 1); }},
      {"CM_IOT_PH_Stop", [](IotHandle* h) { return CM_IOT_PH_Stop(h, 5, 1, 1); }},
      {"CM_IOT_PH_Calibrate", [](IotHandle* h) { return CM_IOT_PH_Calibrate(h, 5, 1, 1); }},
      {"CM_IOT_CO2_Query", [](IotHandle* h) { return CM_IOT_CO2_Query(h, 5, 1, 1); }},
      {"CM_IOT_CO2_Start", [](IotHandle* h) { return CM_IOT_CO2_Start(h, 5, 1, 1, 1000, 1); }},
      {"CM_IOT_CO2_Stop", [](IotHandle* h) { return CM_IOT_CO2_Stop(h, 5, 1, 1); }},
      {"CM_IOT_O2_Query", [](IotHandle* h) { return CM_IOT_O2_Query(h, 5, 1, 1); }},
      {"CM_IOT_O2_Start", [](IotHandle* h) { return CM_IOT_O2_Start(h, 5, 1, 1, 1000, 1); }},
      {"CM_IOT_O2_Stop", [](IotHandle* h) { return CM_IOT_O2_Stop(h, 5, 1, 1); }},
      {"CM_IOT_PowerMeterCtrl_Init", [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_Init(h, 5, 1, 1); }},
      {"CM_IOT_PowerMeterCtrl_SetDate",
       [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_SetDate(h, 5, 1, 1, 1, 0, 0, 0, "2026-1-1"); }},
      {"CM_IOT_PowerMeterCtrl_SetTime",
       [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_SetTime(h, 5, 1, 1, 1, 0, 0, 0, "1:2:3"); }},
      {"CM_IOT_PowerMeterCtrl_SetAccountDay",
       [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_SetAccountDay(h, 5, 1, 1, 1, 0, 0, 0, 1, 1); }},
      {"CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount",
       [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount(h, 5, 1, 1); }},
      {"CM_IOT_PowerMeterCtrl_SetMaximumCurrent",
       [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_SetMaximumCurrent(h, 5, 1, 1, 1, 0, 0, 0, 1.0f); }},
      {"CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount",
       [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount(h, 5, 1, 1, 1, 0, 0, 0, 1.0f); }},
      {"CM_IOT_PowerMeterCtrl_RelayOn", [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_RelayOn(h, 5, 1, 1); }},
      {"CM_IOT_PowerMeterCtrl_RelayOff", [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_RelayOff(h, 5, 1, 1); }},
      {"CM_IOT_PowerMeterCtrl_QueryData", [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_QueryData(h, 5, 1, 1); }},
      {"CM_IOT_PowerMeterCtrl_QueryParameter",
       [](IotHandle* h) { return CM_IOT_PowerMeterCtrl_QueryParameter(h, 5, 1, 1, 2); }},
      {"CM_IOT_WaterMeterCtrl_Calibrate",
       [](IotHandle* h) { return CM_IOT_WaterMeterCtrl_Calibrate(h, 5, 1, 1, 1, 0, 1.0f); }},
      {"CM_IOT_WaterMeterCtrl_ValveTest",
       [](IotHandle* h) { return CM_IOT_WaterMeterCtrl_ValveTest(h, 5, 1, 1, 1, 0); }},
      {"CM_IOT_WaterMeterCtrl_ValveControl",
       [](IotHandle* h) { return CM_IOT_WaterMeterCtrl_ValveControl(h, 5, 1, 1, 1, 0, 1); }},
      {"CM_IOT_WaterMeterCtrl_SetFactoryMode",
       [](IotHandle* h) { return CM_IOT_WaterMeterCtrl_SetFactoryMode(h, 5, 1, 1, 1, 0, 1); }},
      {"CM_IOT_WaterMeterCtrl_QueryValveStatus",
       [](IotHandle* h) { return CM_IOT_WaterMeterCtrl_QueryValveStatus(h, 5, 1, 1); }},
      {"CM_IOT_WaterMeterCtrl_QueryData", [](IotHandle* h) { return CM_IOT_WaterMeterCtrl_QueryData(h, 5, 1, 1); }},
      {"CM_IOT_WaterMeterCtrl_QueryMeterId",
       [](IotHandle* h) { return CM_IOT_WaterMeterCtrl_QueryMeterId(h, 5, 1, 1); }},
      {"CM_IOT_GasMeterCtrl_Calibrate",
       [](IotHandle* h) { return CM_IOT_GasMeterCtrl_Calibrate(h, 5, 1, 1, 1, 0, 1.0f); }},
      {"CM_IOT_GasMeterCtrl_QueryData", [](IotHandle* h) { return CM_IOT_GasMeterCtrl_QueryData(h, 5, 1, 1); }},
      {"CM_IOT_GasMeterCtrl_QueryMeterId", [](IotHandle* h) { return CM_IOT_GasMeterCtrl_QueryMeterId(h, 5, 1, 1); }},
  };
}

}  // namespace

TEST(Exports, InitGivesAHandleOnlyForModeOne) {
  EXPECT_EQ(CM_Init(0), nullptr);
  EXPECT_EQ(CM_Init(2), nullptr);
  IotHandle* h = CM_Init(1);
  ASSERT_NE(h, nullptr);
  EXPECT_NE(LiveSession(h), nullptr);
  CM_Free(h);
}

TEST(Exports, BadHandlesGiveMinusOneWithoutBeingTouched) {
  // A record whose first word is not the check word, and one that was never a handle.
  IotHandle forged;
  forged.magic = 0x1234;
  IotHandle unregistered;  // right check word, but not made by CM_Init
  for (const auto& [name, call] : HandleExports()) {
    EXPECT_EQ(call(nullptr), -1) << name;
    EXPECT_EQ(call(&forged), -1) << name;
    EXPECT_EQ(call(&unregistered), -1) << name;
  }
  CM_Free(nullptr);
  CM_Free(&forged);
  CM_Free(&unregistered);
}

TEST(Exports, FreedHandleIsRefused) {
  IotHandle* h = CM_Init(1);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(CM_SetIOTCallBack(h, nullptr, nullptr), 1);
  CM_Free(h);
  for (const auto& [name, call] : HandleExports()) EXPECT_EQ(call(h), -1) << name;
  CM_Free(h);  // a second free of the same pointer does nothing
}

TEST(Exports, InitEmptiesTheXmlFolderOfCachedFilesOnly) {
  const fs::path folder = fs::path(plat::ExecutableFolder()) / "xml";
  fs::create_directories(folder / "nvs_d.xml");
  for (const char* name : {"nvs_list.xml", "nvs_warn.xml", "nvs_1000001.xml", "other.xml"})
    std::ofstream(folder / name) << "<a/>";
  IotHandle* h = CM_Init(1);
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(fs::exists(folder / "nvs_list.xml"));
  EXPECT_FALSE(fs::exists(folder / "nvs_warn.xml"));
  EXPECT_FALSE(fs::exists(folder / "nvs_1000001.xml"));
  EXPECT_TRUE(fs::exists(folder / "other.xml"));
  EXPECT_TRUE(fs::is_directory(folder / "nvs_d.xml"));
  EXPECT_EQ(LiveSession(h)->XmlFolder(), folder.string() + "/");
  CM_Free(h);
  fs::remove(folder / "other.xml");
  fs::remove(folder / "nvs_d.xml");
}

TEST(Exports, SequenceNumbersCountUpByOne) {
  // Each test runs in a process of its own: nothing has numbered a command yet.
  const std::uint32_t first = TheIotApp().NextSequence();
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(TheIotApp().NextSequence(), first + 1);
  const std::uint32_t warning = TheIotApp().NextWarnNumber();
  EXPECT_EQ(warning, 1u);
  EXPECT_EQ(TheIotApp().NextWarnNumber(), warning + 1);
}
