// Exports of the audio call.
#include <cstdio>

#include "library/api/export_frame.h"
#include "library/session/call_texts.h"
#include "sentrell.h"

namespace {

constexpr std::uint32_t kLowestGatewayId = 256;
constexpr int kCallWaitMs = 5000;
constexpr int kModeListen = 1;
constexpr int kModeTalkAndListen = 3;

int CallGateway(CIotSession& session, std::uint32_t nvsid, int mode) {
  if (nvsid < kLowestGatewayId) return kExportFailed;
  char peerId[64];
  std::snprintf(peerId, sizeof peerId, "%u", nvsid);
  return session.Invite(peerId, kPeerGateway, mode, kCallWaitMs);
}

}  // namespace

extern "C" {

SENTRELL_API int CM_CallNVS(IotHandle* handle, uint32_t nvsid) {
  return WithSession(handle, [&](CIotSession& s) { return CallGateway(s, nvsid, kModeTalkAndListen); });
}

SENTRELL_API int CM_OpenNVSAudio(IotHandle* handle, uint32_t nvsid) {
  return WithSession(handle, [&](CIotSession& s) { return CallGateway(s, nvsid, kModeListen); });
}

SENTRELL_API int CM_StopCall(IotHandle* handle) {
  return WithSession(handle, [](CIotSession& s) { return s.StopCall(); });
}

}  // extern "C"
