#pragma once
// Start-up and orderly end of the program around its main dialog.
#include <memory>
#include <string>
#include <vector>

#include "demo/shell/api_binding.h"

class CDemoDlg;

struct DemoOptions {
  std::string programDir;                      // folder of the running program
  std::vector<std::string> libraryCandidates;  // where libsentrell.so is looked for
};

class DemoProgram {
 public:
  explicit DemoProgram(DemoOptions options);
  ~DemoProgram();
  DemoProgram(const DemoProgram&) = delete;
  DemoProgram& operator=(const DemoProgram&) = delete;

  // Sets the folders and icons, binds the library, builds the main dialog,
  // reports the binding in its log and lets the GUI thread process its
  // events while the library waits on it.
  CDemoDlg& Start();
  // Releases the receiver's hand-overs, stops the notification receiver and
  // thread, frees a live session, destroys the main dialog and drops the
  // icons. Runs once; the destructor runs it too.
  void Finish();

  const ApiBinding& Binding() const { return m_binding; }
  CDemoDlg* Dialog() const { return m_dialog.get(); }

 private:
  DemoOptions m_options;
  ApiBinding m_binding;
  std::unique_ptr<CDemoDlg> m_dialog;
  bool m_finished = false;
};
