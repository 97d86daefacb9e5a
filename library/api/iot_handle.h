#pragma once
// IotHandle: what CM_Init gives the application. The registry of live
// handles is consulted before a handle is looked at, so a stale or foreign
// pointer is refused without being dereferenced.
#include <cstdint>
#include <memory>
#include <string>

class CIotSession;

constexpr std::int32_t kIotHandleMagic = 0x1ABCDEF;

struct IotHandle {
  std::int32_t magic = kIotHandleMagic;
  std::int32_t reserved = 0;
  std::string name;
  std::string note;
  CIotSession* session = nullptr;  // owned through the registry
};

// Creates a handle with a new session (its socket created, unconnected) and
// registers it; nullptr when that fails.
IotHandle* CreateIotHandle();
// Unregisters the handle, clears its check word, frees it and shuts the
// session down at once (exports still running on it end their waits and
// send nothing more); the session's memory goes once no export still holds
// it. Unknown pointers are ignored.
void DestroyIotHandle(IotHandle* handle);
// The session of a live handle whose check word is intact, kept alive for the
// caller; empty otherwise.
std::shared_ptr<CIotSession> LiveSession(const IotHandle* handle);
