#include "demo/shell/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int) {
  if (g_pipe[1] < 0) return;
  const char byte = 1;
  // Nothing to do when the pipe is full: a request is already waiting.
  [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
}

}  // namespace

void TerminationRequests::InstallHandlers() {
  if (g_pipe[0] >= 0) return;
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
    return;
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

TerminationRequests::TerminationRequests() {
  if (g_pipe[0] < 0) return;
  m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationRequests::Drain);
}

void TerminationRequests::Drain() {
  char buffer[16];
  while (read(g_pipe[0], buffer, sizeof buffer) > 0) {
  }
  emit Requested();
}
