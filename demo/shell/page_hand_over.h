#pragma once
// The hand-over of queued replies from the notification receiver's thread to
// a page: the receiver queues a text, then waits until the page has drained
// its queue on the GUI thread. Closing the gate at shutdown releases every
// waiting receiver, and later hand-overs return at once.
#include <atomic>

class DevicePage;

class PageHandOver {
 public:
  // Asks the GUI thread to drain `page` and waits for it. On the GUI thread
  // itself the drain runs at once. A page whose window does not exist yet is
  // not drained. True when the drain ran, false when it did not. The wait
  // also ends when `abandon` (the stopping flag of the sender) becomes true.
  bool Send(DevicePage& page, const std::atomic<bool>* abandon = nullptr);

  void Close();
  bool IsClosed() const { return m_closed.load(); }

 private:
  std::atomic<bool> m_closed{false};
};
