#pragma once
// The thread that the library's thread notifications go to. It runs a
// message loop of the platform layer, takes the gateway-list notification
// (and does nothing with it) and ends on the quit message.
#include <atomic>
#include <cstdint>
#include <thread>

class CNotifyThread {
 public:
  // Starts the thread; its id is known (and its queue exists) on return.
  CNotifyThread();
  // Stops the thread (Stop).
  ~CNotifyThread();
  CNotifyThread(const CNotifyThread&) = delete;
  CNotifyThread& operator=(const CNotifyThread&) = delete;

  // The platform layer's id of the thread, for CM_SetNotifyThreadID.
  std::uint32_t ThreadId() const { return m_threadId; }
  // Posts the quit message and waits for the thread to end. Runs once.
  void Stop();
  // The exit code: the wParam of the quit message that ended the loop.
  int ExitCode() const { return m_exitCode.load(); }

 private:
  void Run();
  std::intptr_t OnNvsList(std::uintptr_t wParam, std::intptr_t lParam);

  std::atomic<bool> m_stop{false};
  std::atomic<int> m_exitCode{0};
  std::uint32_t m_threadId = 0;
  std::thread m_thread;
};
