// Window and thread message queues.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "sentrellplatform.h"

namespace {

struct ThreadQueue {
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<PlatMsg> messages;
  PlatPumpHook hook = nullptr;
  void* hookUser = nullptr;
};

struct WindowEntry {
  uint32_t ownerThread;
  PlatWindowProc proc;
  void* user;
};

struct Registry {
  std::mutex mutex;
  std::unordered_map<uint32_t, std::shared_ptr<ThreadQueue>> queues;
  std::unordered_map<uintptr_t, WindowEntry> windows;
  uintptr_t nextWindow = 1;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // lives until the process ends; threads may outlive statics
  return *registry;
}

std::atomic<uint32_t> g_nextThreadId{1};

// Drops the thread's queue and windows when the thread ends, so that posting
// to a finished thread fails as it would for a thread without a queue.
struct ThreadSlot {
  uint32_t id = g_nextThreadId.fetch_add(1);
  bool hasQueue = false;
  ~ThreadSlot() {
    if (!hasQueue) return;
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.queues.erase(id);
    for (auto it = r.windows.begin(); it != r.windows.end();)
      it = it->second.ownerThread == id ? r.windows.erase(it) : std::next(it);
  }
};

ThreadSlot& Slot() {
  thread_local ThreadSlot slot;
  return slot;
}

std::shared_ptr<ThreadQueue> QueueOf(uint32_t threadId) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.queues.find(threadId);
  return it == r.queues.end() ? nullptr : it->second;
}

std::shared_ptr<ThreadQueue> OwnQueue() {
  ThreadSlot& slot = Slot();
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto& queue = r.queues[slot.id];
  if (!queue) queue = std::make_shared<ThreadQueue>();
  slot.hasQueue = true;
  return queue;
}

bool InRange(uint32_t id, uint32_t minId, uint32_t maxId) {
  return (minId == 0 && maxId == 0) || (id >= minId && id <= maxId);
}

bool Enqueue(uint32_t threadId, const PlatMsg& msg) {
  auto queue = QueueOf(threadId);
  if (!queue) return false;
  {
    std::lock_guard lock(queue->mutex);
    queue->messages.push_back(msg);
  }
  queue->arrived.notify_all();
  return true;
}

}  // namespace

extern "C" {

uint32_t PlatCurrentThreadId(void) { return Slot().id; }

void PlatEnsureThreadQueue(void) { OwnQueue(); }

PlatWindow PlatRegisterWindow(PlatWindowProc proc, void* user) {
  if (!proc) return nullptr;
  OwnQueue();
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  const uintptr_t handle = r.nextWindow++;
  r.windows[handle] = WindowEntry{Slot().id, proc, user};
  return reinterpret_cast<PlatWindow>(handle);
}

void PlatUnregisterWindow(PlatWindow window) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.windows.erase(reinterpret_cast<uintptr_t>(window));
}

int PlatIsWindow(PlatWindow window) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  return r.windows.count(reinterpret_cast<uintptr_t>(window)) ? 1 : 0;
}

int PlatPostMessage(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  uint32_t owner = 0;
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(reinterpret_cast<uintptr_t>(window));
    if (it == r.windows.end()) return 0;
    owner = it->second.ownerThread;
  }
  return Enqueue(owner, PlatMsg{window, message, wParam, lParam}) ? 1 : 0;
}

int PlatPostThreadMessage(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return Enqueue(threadId, PlatMsg{nullptr, message, wParam, lParam}) ? 1 : 0;
}

int PlatIsMessageQueued(uint32_t message, uintptr_t wParam) {
  std::vector<std::shared_ptr<ThreadQueue>> queues;
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    for (const auto& entry : r.queues) queues.push_back(entry.second);
  }
  for (const auto& queue : queues) {
    std::lock_guard lock(queue->mutex);
    for (const PlatMsg& m : queue->messages)
      if (m.message == message && m.wParam == wParam) return 1;
  }
  return 0;
}

int PlatPeekMessage(PlatMsg* out, uint32_t minId, uint32_t maxId, int remove) {
  auto queue = OwnQueue();
  std::lock_guard lock(queue->mutex);
  for (auto it = queue->messages.begin(); it != queue->messages.end(); ++it) {
    if (!InRange(it->message, minId, maxId)) continue;
    if (out) *out = *it;
    if (remove) queue->messages.erase(it);
    return 1;
  }
  return 0;
}

int PlatGetMessage(PlatMsg* out, int32_t timeoutMs) {
  auto queue = OwnQueue();
  std::unique_lock lock(queue->mutex);
  const auto ready = [&] { return !queue->messages.empty(); };
  if (timeoutMs < 0) queue->arrived.wait(lock, ready);
  else if (!queue->arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) return -1;
  const PlatMsg msg = queue->messages.front();
  queue->messages.pop_front();
  if (out) *out = msg;
  return msg.message == PLAT_WM_QUIT ? 0 : 1;
}

intptr_t PlatDispatchMessage(const PlatMsg* msg) {
  if (!msg || !msg->window) return 0;
  WindowEntry entry{};
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(reinterpret_cast<uintptr_t>(msg->window));
    if (it == r.windows.end()) return 0;
    entry = it->second;
  }
  if (entry.ownerThread != Slot().id) return 0;
  return entry.proc(msg->window, msg->message, msg->wParam, msg->lParam, entry.user);
}

int PlatPumpOne(uint32_t minId, uint32_t maxId) {
  auto queue = OwnQueue();
  PlatPumpHook hook;
  void* user;
  {
    std::lock_guard lock(queue->mutex);
    hook = queue->hook;
    user = queue->hookUser;
  }
  if (hook) hook(user);
  PlatMsg msg{};
  if (!PlatPeekMessage(&msg, minId, maxId, 1)) return 0;
  PlatDispatchMessage(&msg);
  return 1;
}

void PlatSetPumpHook(PlatPumpHook hook, void* user) {
  auto queue = OwnQueue();
  std::lock_guard lock(queue->mutex);
  queue->hook = hook;
  queue->hookUser = user;
}

}  // extern "C"
