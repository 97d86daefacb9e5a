#include "demo/shell/gui_thread_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include <QMetaObject>

GuiThreadQueue::GuiThreadQueue(QObject* parent) : QObject(parent) {
  m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (m_wake < 0) return;
  m_notifier = std::make_unique<QSocketNotifier>(m_wake, QSocketNotifier::Read);
  connect(m_notifier.get(), &QSocketNotifier::activated, this, &GuiThreadQueue::RunPending);
}

GuiThreadQueue::~GuiThreadQueue() {
  m_notifier.reset();
  if (m_wake >= 0) close(m_wake);
}

void GuiThreadQueue::Post(std::function<void()> call) {
  bool schedule = false;
  {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
    schedule = !m_scheduled;
    m_scheduled = true;
  }
  if (schedule) Wake();
}

void GuiThreadQueue::Wake() {
  if (m_wake >= 0) {
    const std::uint64_t one = 1;
    // The counter cannot fill: it is raised once per batch and read empty
    // before every batch runs.
    if (write(m_wake, &one, sizeof one) == static_cast<ssize_t>(sizeof one)) return;
  }
  // No counter: a queued call by name, which carries no data of its own.
  QMetaObject::invokeMethod(this, "RunPending", Qt::QueuedConnection);
}

void GuiThreadQueue::RunPending() {
  if (m_wake >= 0) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(m_wake, &count, sizeof count);
  }
  std::deque<std::function<void()>> calls;
  {
    std::lock_guard lock(m_mutex);
    calls.swap(m_calls);
    m_scheduled = false;
  }
  for (auto& call : calls) call();
}
