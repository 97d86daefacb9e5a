#pragma once
// Calls handed from any thread to the thread that owns this object (the GUI
// thread). The calls wait in a queue of their own, under a lock of their
// own, and run in the order in which they were posted. Calls still waiting
// when the object is destroyed are dropped without running.
//
// The owner thread is woken through an event counter watched by its event
// loop, so that no Qt object is made on the posting thread and handed over:
// the queue's own lock is the only thing the two threads share.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include <QObject>
#include <QSocketNotifier>

class GuiThreadQueue : public QObject {
  Q_OBJECT

 public:
  explicit GuiThreadQueue(QObject* parent = nullptr);
  ~GuiThreadQueue() override;

  GuiThreadQueue(const GuiThreadQueue&) = delete;
  GuiThreadQueue& operator=(const GuiThreadQueue&) = delete;

  // Thread-safe; never blocks on the owner thread.
  void Post(std::function<void()> call);

  // Runs the calls waiting now (owner thread).
  Q_INVOKABLE void RunPending();

 private:
  void Wake();

  std::mutex m_mutex;
  std::deque<std::function<void()>> m_calls;
  bool m_scheduled = false;
  int m_wake = -1;  // event counter; -1 when none could be made
  std::unique_ptr<QSocketNotifier> m_notifier;
};
