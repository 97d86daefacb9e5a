#include "demo/shell/notify_window.h"

namespace {

constexpr int kPumpIntervalMs = 50;
// Messages taken per timer tick, so that a flood cannot hold the GUI thread.
constexpr int kMessagesPerPump = 64;

}  // namespace

NotifyWindow::NotifyWindow(Handler handler, QObject* parent) : QObject(parent), m_handler(std::move(handler)) {
  m_window = PlatRegisterWindow(&NotifyWindow::Procedure, this);
  connect(&m_timer, &QTimer::timeout, this, &NotifyWindow::Pump);
  m_timer.start(kPumpIntervalMs);
}

NotifyWindow::~NotifyWindow() {
  m_timer.stop();
  if (m_window != nullptr) PlatUnregisterWindow(m_window);
}

void NotifyWindow::Pump() {
  PlatMsg message{};
  for (int i = 0; i < kMessagesPerPump && PlatPeekMessage(&message, 0, 0, 1) != 0; ++i) {
    if (message.window != nullptr) PlatDispatchMessage(&message);
  }
}

std::intptr_t NotifyWindow::Procedure(PlatWindow, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                      void* user) {
  auto* self = static_cast<NotifyWindow*>(user);
  return self->m_handler ? self->m_handler(message, wParam, lParam) : 0;
}
