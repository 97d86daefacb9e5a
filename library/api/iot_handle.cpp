#include "library/api/iot_handle.h"

#include <sys/socket.h>

#include <mutex>
#include <new>
#include <unordered_map>

#include "library/session/iot_session.h"

namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_map<const IotHandle*, std::shared_ptr<CIotSession>> live;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

IotHandle* CreateIotHandle() {
  auto* handle = new (std::nothrow) IotHandle;
  if (handle == nullptr) return nullptr;
  try {
    auto session = std::make_shared<CIotSession>();
    session->Create(0, SOCK_STREAM, nullptr);
    handle->session = session.get();
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.live.emplace(handle, std::move(session));
  } catch (...) {
    delete handle;
    return nullptr;
  }
  return handle;
}

void DestroyIotHandle(IotHandle* handle) {
  std::shared_ptr<CIotSession> session;
  {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto it = registry.live.find(handle);
    if (it == registry.live.end() || handle->magic != kIotHandleMagic) return;
    session = std::move(it->second);
    registry.live.erase(it);
    handle->magic = 0;
    handle->session = nullptr;
  }
  delete handle;
  // Ended now, even while an export still runs on it (a waiting call); the
  // last holder only frees what is left.
  session->Shutdown();
  session.reset();
}

std::shared_ptr<CIotSession> LiveSession(const IotHandle* handle) {
  if (handle == nullptr) return nullptr;
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  auto it = registry.live.find(handle);
  if (it == registry.live.end() || handle->magic != kIotHandleMagic) return nullptr;
  return it->second;
}
