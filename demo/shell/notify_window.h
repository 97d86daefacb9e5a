#pragma once
// A window of the platform layer for the GUI thread, so that the library can
// post window notifications to the main dialog. The GUI thread takes the
// messages from its queue on a short timer and hands each to the handler.
#include <cstdint>
#include <functional>

#include <QObject>
#include <QTimer>

#include "sentrellplatform.h"

class NotifyWindow : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

  // Registers the window on the calling thread (the GUI thread).
  explicit NotifyWindow(Handler handler, QObject* parent = nullptr);
  ~NotifyWindow() override;

  PlatWindow Handle() const { return m_window; }

  // Takes and dispatches the messages waiting for the GUI thread.
  void Pump();

 private:
  static std::intptr_t Procedure(PlatWindow window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam, void* user);

  Handler m_handler;
  PlatWindow m_window = nullptr;
  QTimer m_timer;
};
