// Exports of switches and simple devices.
#include "library/api/commands_switches.h"
#include "library/api/export_frame.h"
#include "library/xml/nvs_xml_store.h"
#include "sentrell.h"

extern "C" {

SENTRELL_API int CM_IOT_LAMP_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return WithSession(handle, [&](CIotSession& s) {
    int type = 0;
    {
      CNvsXmlStore store(s.XmlFolder());
      if (store.OpenNvsFile(nvsid)) type = store.GetNodeType(netid, nodeaddr);
    }
    const auto command = LampCtrl(type, on);
    return command ? SendCommand(s, nvsid, netid, nodeaddr, *command) : 0;
  });
}

SENTRELL_API int CM_IOT_LAMP_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return LampQueryStatus(); });
}
SENTRELL_API int CM_IOT_EC_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int op) {
  return Command(handle, nvsid, netid, nodeaddr, [op] { return EcCtrl(op); });
}
SENTRELL_API int CM_IOT_EC_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return EcQueryStatus(); });
}
SENTRELL_API int CM_IOT_POWER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return PowerCtrl(on); });
}
SENTRELL_API int CM_IOT_POWER_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return PowerQueryStatus(); });
}
SENTRELL_API int CM_IOT_CONTROL_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return ControlCtrl(on); });
}
SENTRELL_API int CM_IOT_CONTROL_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return ControlQueryStatus(); });
}
SENTRELL_API int CM_IOT_CONTROLTC_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int op) {
  return Command(handle, nvsid, netid, nodeaddr, [op] { return ControltcCtrl(op); });
}
SENTRELL_API int CM_IOT_CONTROLTC_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return ControltcQueryStatus(); });
}
SENTRELL_API int CM_IOT_DEVPST_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int on) {
  return Command(handle, nvsid, netid, nodeaddr, [on] { return DevpstCtrl(on); });
}
SENTRELL_API int CM_IOT_WCAW_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                  int durationMs) {
  return Command(handle, nvsid, netid, nodeaddr, [durationMs] { return WcawCtrl(durationMs); });
}
SENTRELL_API int CM_IOT_CC_Control(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int value) {
  return Command(handle, nvsid, netid, nodeaddr, [value] { return CcControl(value); });
}
SENTRELL_API int CM_IOT_CC_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return CcQueryStatus(); });
}
SENTRELL_API int CM_IOT_DCDB_QueryStatus(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return DcdbQueryStatus(); });
}
SENTRELL_API int CM_IOT_ADAPTER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                     int value) {
  return Command(handle, nvsid, netid, nodeaddr, [value] { return AdapterCtrl(value); });
}
SENTRELL_API int CM_IOT_ADAPTER_ReqType(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return AdapterReqType(); });
}
SENTRELL_API int CM_IOT_ADAPTER_ReqData(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr) {
  return Command(handle, nvsid, netid, nodeaddr, [] { return AdapterReqData(); });
}
SENTRELL_API int CM_IOT_HEALTHMON_SetMode(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                          int mode) {
  return Command(handle, nvsid, netid, nodeaddr, [mode] { return HealthmonSetMode(mode); });
}
SENTRELL_API int CM_IOT_SPHYGMOMETER_Ctrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                          int op) {
  return Command(handle, nvsid, netid, nodeaddr, [op] { return SphygmometerCtrl(op); });
}

SENTRELL_API int CM_SendIOTPacket(IotHandle* handle, uint32_t nvsid, const unsigned char* bytes, int length) {
  return WithSession(handle, [&](CIotSession& s) { return s.SendIotPacket(nvsid, bytes, length); });
}

}  // extern "C"
