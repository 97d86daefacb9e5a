#include "demo/notify/notify_thread.h"

#include <future>

#include "sentrell.h"
#include "sentrellplatform.h"

namespace {

// How often the loop looks at the stop flag while no message comes.
constexpr std::int32_t kStopCheckMs = 200;

}  // namespace

CNotifyThread::CNotifyThread() {
  std::promise<std::uint32_t> started;
  std::future<std::uint32_t> id = started.get_future();
  m_thread = std::thread([this, started = std::move(started)]() mutable {
    PlatEnsureThreadQueue();
    started.set_value(PlatCurrentThreadId());
    Run();
  });
  m_threadId = id.get();
}

CNotifyThread::~CNotifyThread() { Stop(); }

void CNotifyThread::Stop() {
  if (!m_thread.joinable()) return;
  m_stop.store(true);
  PlatPostThreadMessage(m_threadId, PLAT_WM_QUIT, 0, 0);
  m_thread.join();
}

void CNotifyThread::Run() {
  while (!m_stop.load()) {
    PlatMsg message{};
    const int got = PlatGetMessage(&message, kStopCheckMs);
    if (got == 0) {
      m_exitCode.store(static_cast<int>(message.wParam));
      return;
    }
    if (got == 1 && message.window == nullptr && message.message == NOTIFY_NVSLIST)
      OnNvsList(message.wParam, message.lParam);
  }
}

std::intptr_t CNotifyThread::OnNvsList(std::uintptr_t, std::intptr_t) { return 0; }
