#pragma once
// Calls handed from any thread to the thread that owns this object (the GUI
// thread). The calls wait in a queue of their own, under a lock of their
// own, and run in the order in which they were posted. Calls still waiting
// when the object is destroyed are dropped without running.
#include <deque>
#include <functional>
#include <mutex>

#include <QObject>

class GuiThreadQueue : public QObject {
  Q_OBJECT

 public:
  explicit GuiThreadQueue(QObject* parent = nullptr);

  // Thread-safe; never blocks on the owner thread.
  void Post(std::function<void()> call);

  // Runs the calls waiting now (owner thread).
  Q_INVOKABLE void RunPending();

 private:
  std::mutex m_mutex;
  std::deque<std::function<void()>> m_calls;
  bool m_scheduled = false;
};
