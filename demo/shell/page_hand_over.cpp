#include "demo/shell/page_hand_over.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include <QThread>

#include "demo/shell/device_page.h"

namespace {

struct Completion {
  std::mutex mutex;
  std::condition_variable done;
  bool drained = false;
  bool finished = false;
};

constexpr std::chrono::milliseconds kCloseCheck{100};

}  // namespace

bool PageHandOver::Send(DevicePage& page, const std::atomic<bool>* abandon) {
  if (m_closed.load() || !page.IsCreated()) return false;
  if (QThread::currentThread() == page.thread()) {
    page.OnDeviceReply(0, 0);
    return true;
  }
  auto completion = std::make_shared<Completion>();
  DevicePage* target = &page;
  // Dropped unrun when the page is destroyed first.
  page.PostToGuiThread([target, completion] {
    bool drained = false;
    if (target->IsCreated()) {
      target->OnDeviceReply(0, 0);
      drained = true;
    }
    std::lock_guard lock(completion->mutex);
    completion->drained = drained;
    completion->finished = true;
    completion->done.notify_all();
  });

  std::unique_lock lock(completion->mutex);
  while (!completion->finished) {
    if (m_closed.load() || (abandon != nullptr && abandon->load())) return false;
    completion->done.wait_for(lock, kCloseCheck);
  }
  return completion->drained;
}

void PageHandOver::Close() { m_closed.store(true); }
