// Exports of the library entry and the session.
#include "library/api/export_frame.h"
#include "sentrell.h"

extern "C" {

SENTRELL_API IotHandle* CM_Init(int mode) {
  if (mode != 1) return nullptr;
  return CreateIotHandle();
}

SENTRELL_API void CM_Free(IotHandle* handle) {
  try {
    DestroyIotHandle(handle);
  } catch (...) {
  }
}

SENTRELL_API int CM_Login(IotHandle* handle, const char* server, const char* user, const char* password) {
  return WithSession(handle, [&](CIotSession& s) { return s.Login(server, user, password); });
}

SENTRELL_API int CM_GetServerInfo(IotHandle* handle, char* from, char* contact, char* body) {
  return WithSession(handle, [&](CIotSession& s) { return s.GetServerInfo(from, contact, body); });
}

SENTRELL_API int CM_SetIOTCallBack(IotHandle* handle, CM_IOTCALLBACK callback, void* user) {
  return WithSession(handle, [&](CIotSession& s) { return s.SetIotCallback(callback, user); });
}

SENTRELL_API int CM_SetNotifyWindow(IotHandle* handle, PlatWindow window) {
  return WithSession(handle, [&](CIotSession& s) { return s.SetNotifyWindow(window); });
}

SENTRELL_API int CM_SetNotifyThreadID(IotHandle* handle, uint32_t threadId) {
  return WithSession(handle, [&](CIotSession& s) { return s.SetNotifyThreadId(threadId); });
}

SENTRELL_API int CM_SetNotifyUDPPort(IotHandle* handle, int port) {
  return WithSession(handle, [&](CIotSession& s) { return s.SetNotifyUdpPort(port); });
}

SENTRELL_API int CM_SetNVSXmlPath(IotHandle* handle, const char* folder) {
  return WithSession(handle, [&](CIotSession& s) { return s.SetNvsXmlPath(folder); });
}

SENTRELL_API int CM_GetNVSXmlPath(IotHandle* handle, char* folder) {
  return WithSession(handle, [&](CIotSession& s) { return s.GetNvsXmlPath(folder); });
}

SENTRELL_API int CM_ConfigSet(IotHandle* handle, int alarm, int canread) {
  return WithSession(handle, [&](CIotSession& s) { return s.ConfigSet(alarm, canread); });
}

SENTRELL_API int CM_ConfigChangePwd(IotHandle* handle, int unused, const char* newPassword) {
  return WithSession(handle, [&](CIotSession& s) { return s.ConfigChangePassword(unused, newPassword); });
}

}  // extern "C"
