#include "demo/shell/gui_thread_queue.h"

#include <QMetaObject>

GuiThreadQueue::GuiThreadQueue(QObject* parent) : QObject(parent) {}

void GuiThreadQueue::Post(std::function<void()> call) {
  bool schedule = false;
  {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
    schedule = !m_scheduled;
    m_scheduled = true;
  }
  // Invoked by name, so that only the queue above carries data between the
  // threads.
  if (schedule) QMetaObject::invokeMethod(this, "RunPending", Qt::QueuedConnection);
}

void GuiThreadQueue::RunPending() {
  std::deque<std::function<void()>> calls;
  {
    std::lock_guard lock(m_mutex);
    calls.swap(m_calls);
    m_scheduled = false;
  }
  for (auto& call : calls) call();
}
