#pragma once
// SIGTERM and SIGINT close the main dialog, so that the program ends through
// its orderly shutdown (a session is freed) instead of being cut off.
#include <memory>

#include <QObject>
#include <QSocketNotifier>

class TerminationRequests : public QObject {
  Q_OBJECT

 public:
  // Installs the signal handlers; call first thing in main.
  static void InstallHandlers();

  TerminationRequests();

 signals:
  void Requested();

 private:
  void Drain();

  std::unique_ptr<QSocketNotifier> m_notifier;
};
