// Exports of the infrared household appliances.
#include "library/api/ac_states_infrared.h"
#include "library/api/commands_infrared.h"
#include "library/api/export_frame.h"
#include "sentrell.h"

namespace {

// The export frame, with the air conditioners' states of the handle's session.
template <class Operation>
int WithAcStates(const IotHandle* handle, Operation&& operation) {
  return WithSession(handle, [&](CIotSession& s) {
    const std::shared_ptr<CIotSession> owner = LiveSession(handle);
    if (owner.get() != &s) return kExportFailed;
    return operation(s, *AcStatesOf(owner));
  });
}

// The key applied to the unit's state, then the state sent: 1 sent, 0 not.
int SendAcKey(CIotSession& s, AcStates& states, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit,
              int key) {
  const AcState state = states.Press(AcUnit{nvsid, netid, nodeaddr, LowByte(unit)}, key);
  return SendCommand(s, nvsid, netid, nodeaddr, HaAc(unit, key, state));
}

// 1 sent; -1 for a kind outside 1 to 7 (nothing changes) or when not sent.
int ApplianceKey(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int kind, int unit, int key) {
  return WithAcStates(handle, [&](CIotSession& s, AcStates& states) {
    if (!IsApplianceKind(kind)) return kExportFailed;
    int sent = 0;
    if (kind == kApplianceAirConditioner) {
      sent = SendAcKey(s, states, nvsid, netid, nodeaddr, unit, key);
    } else {
      const auto command = HeaCtrl(kind, unit, key);
      sent = command ? SendCommand(s, nvsid, netid, nodeaddr, *command) : 0;
    }
    return sent == 1 ? 1 : kExportFailed;
  });
}

}  // namespace

extern "C" {

SENTRELL_API int CM_IOT_HEACtrl(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int kind, int unit,
                                int key) {
  return ApplianceKey(handle, nvsid, netid, nodeaddr, kind, unit, key);
}
SENTRELL_API int CM_IOT_HA_VCR(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key) {
  return ApplianceKey(handle, nvsid, netid, nodeaddr, kApplianceVcr, unit, key);
}
SENTRELL_API int CM_IOT_HA_SAT(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key) {
  return ApplianceKey(handle, nvsid, netid, nodeaddr, kApplianceSat, unit, key);
}
SENTRELL_API int CM_IOT_HA_DVD(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key) {
  return ApplianceKey(handle, nvsid, netid, nodeaddr, kApplianceDvd, unit, key);
}
SENTRELL_API int CM_IOT_HA_CD(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key) {
  return ApplianceKey(handle, nvsid, netid, nodeaddr, kApplianceCd, unit, key);
}
SENTRELL_API int CM_IOT_HA_TV(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key) {
  return ApplianceKey(handle, nvsid, netid, nodeaddr, kApplianceTv, unit, key);
}
SENTRELL_API int CM_IOT_HA_STB(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key) {
  return ApplianceKey(handle, nvsid, netid, nodeaddr, kApplianceStb, unit, key);
}

SENTRELL_API int CM_IOT_HA_AC(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr, int unit, int key) {
  return WithAcStates(handle, [&](CIotSession& s, AcStates& states) {
    return SendAcKey(s, states, nvsid, netid, nodeaddr, unit, key);
  });
}

SENTRELL_API int CM_IOT_HA_GetACCurValue(IotHandle* handle, uint32_t nvsid, uint16_t netid, uint16_t nodeaddr,
                                         int unit) {
  return WithAcStates(handle, [&](CIotSession&, AcStates& states) {
    states.Ensure(AcUnit{nvsid, netid, nodeaddr, LowByte(unit)});
    return 1;
  });
}

}  // extern "C"
