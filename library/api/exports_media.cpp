// Exports of node states, snapshots, recordings, the pan-tilt unit and the car gate.
#include "library/api/export_frame.h"
#include "library/session/snapshot_lists.h"
#include "sentrell.h"

extern "C" {

SENTRELL_API int CM_QueryNodesStatusOfNVS(IotHandle* handle, uint32_t nvsid) {
  return WithSession(handle, [&](CIotSession& s) { return nvsid == 0 ? -1 : s.QueryNodesStatus(nvsid); });
}

SENTRELL_API int CM_Snapshot(IotHandle* handle, uint32_t nvsid) {
  return WithSession(handle, [&](CIotSession& s) { return nvsid == 0 ? -1 : s.Snapshot(nvsid); });
}

SENTRELL_API int CM_GetSnapshot(IotHandle* handle, uint32_t nvsid) {
  return WithSession(handle, [&](CIotSession& s) { return nvsid == 0 ? -1 : s.GetAutoSnap(nvsid); });
}

SENTRELL_API int CM_SetSnapshot(IotHandle* handle, const char* json) {
  return WithSession(handle, [&](CIotSession& s) {
    if (json == nullptr) return -1;
    const auto setting = SnapshotLinesOf(json);
    if (!setting || setting->nvsid == 0) return -1;
    return s.SetAutoSnap(setting->nvsid, setting->lines.data(), setting->lines.size());
  });
}

SENTRELL_API int CM_PlayRecord(IotHandle* handle, uint32_t nvsid, const char* fileName) {
  return WithSession(handle, [&](CIotSession& s) { return s.PlayRecord(nvsid, fileName); });
}

SENTRELL_API int CM_SeekRecord(IotHandle* handle, uint32_t nvsid, int position) {
  return WithSession(handle, [&](CIotSession& s) { return s.SeekRecord(nvsid, position); });
}

SENTRELL_API int CM_StopRecord(IotHandle* handle, uint32_t nvsid) {
  return WithSession(handle, [&](CIotSession& s) { return s.StopRecord(nvsid); });
}

SENTRELL_API int CM_GetRecordList(IotHandle* handle, uint32_t nvsid, const char* date, char* list, int timeoutMs) {
  return WithSession(handle, [&](CIotSession& s) { return s.GetRecordList(nvsid, date, list, timeoutMs); });
}

SENTRELL_API int CM_PTUCtrl(IotHandle* handle, uint32_t nvsid, int command, int value) {
  return WithSession(handle, [&](CIotSession& s) { return s.PtuCtrl(nvsid, command, value); });
}

SENTRELL_API int CM_IOT_VLR_UpBar(IotHandle* handle, uint32_t nvsid, uint16_t, uint16_t, int isFree) {
  return WithSession(handle, [&](CIotSession& s) { return s.VlrUpBar(nvsid, isFree); });
}

}  // extern "C"
