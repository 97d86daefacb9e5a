// sentrelldemo: the demonstration program of the sentrell library.
#include <clocale>

#include <QApplication>

#include "demo/shell/api_binding.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/demo_program.h"
#include "demo/shell/termination_signals.h"

int main(int argc, char** argv) {
  TerminationRequests::InstallHandlers();
  QApplication application(argc, argv);
  // QApplication takes the user's locale; numbers are read and written the
  // C way throughout (the library's "%f" parsing included).
  std::setlocale(LC_NUMERIC, "C");

  const std::string programDir = QCoreApplication::applicationDirPath().toStdString();
  DemoProgram program(DemoOptions{programDir, DefaultLibraryCandidates(programDir)});
  CDemoDlg& dialog = program.Start();
  TerminationRequests requests;
  QObject::connect(&requests, &TerminationRequests::Requested, &dialog, &QDialog::reject);
  dialog.exec();
  program.Finish();
  return 0;
}
