#include "demo/shell/demo_program.h"

#include <csignal>

#include <QCoreApplication>

#include "demo/shell/demo_app.h"
#include "demo/shell/demo_dlg.h"
#include "sentrellplatform.h"

namespace {

// While the library waits on the GUI thread (CM_Login), the window stays
// alive: pending Qt events are processed at every turn of its wait.
void ProcessGuiEvents(void*) { QCoreApplication::processEvents(); }

}  // namespace

DemoProgram::DemoProgram(DemoOptions options) : m_options(std::move(options)) {}

DemoProgram::~DemoProgram() { Finish(); }

CDemoDlg& DemoProgram::Start() {
  // A peer that went away must not end the program through SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  theApp.InitFoldersAndIcons(m_options.programDir);

  SentrellApi api;
  m_binding = BindSentrellApi(m_options.libraryCandidates, api);
  SetApi(api);

  m_dialog = std::make_unique<CDemoDlg>();
  theApp.m_pMainWnd = m_dialog.get();
  PlatSetPumpHook(&ProcessGuiEvents, nullptr);
  for (const std::string& line : BindingReport(m_binding)) m_dialog->AppendLogText(line);
  m_finished = false;
  return *m_dialog;
}

void DemoProgram::Finish() {
  if (m_finished || !m_dialog) return;
  m_finished = true;
  m_dialog->HandOver().Close();
  m_dialog->StopNotifications();
  PlatSetPumpHook(nullptr, nullptr);
  if (theApp.m_hSession != nullptr) {
    Api().CM_Free(theApp.m_hSession);
    theApp.m_hSession = nullptr;
  }
  theApp.m_pMainWnd = nullptr;
  m_dialog.reset();
  theApp.ReleaseIcons();
}
