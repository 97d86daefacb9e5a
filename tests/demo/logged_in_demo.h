#pragma once
// The whole program logged in on the platform server stand-in: the stand-in
// serves the built-in platform on a loopback address of the test's own (the
// library always calls port 4073), the program binds the real library by
// name, and its module page chooses an XML folder, initialises, turns on
// UDP notifications and logs in as admin, until the gateway list and the
// first gateway's nodes have arrived. At the end the program frees the
// session and the stand-in stops.
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "demo/shell/demo_program.h"
#include "tests/demo/demo_fakes.h"
#include "tools/standin_server.h"

class CDemoDlg;

namespace demotest {

class LoggedInDemo {
 public:
  static constexpr std::chrono::milliseconds kWait{20000};

  // `serverAddress`: an address of 127.0.0.0/8 that no other test uses.
  explicit LoggedInDemo(std::string serverAddress);
  ~LoggedInDemo();
  LoggedInDemo(const LoggedInDemo&) = delete;
  LoggedInDemo& operator=(const LoggedInDemo&) = delete;

  // Starts both and logs in; what went wrong otherwise.
  ::testing::AssertionResult LogIn();
  // Ends the program (its session is freed); runs once.
  void EndProgram();

  // The main dialog, until the program ends.
  CDemoDlg& Dialog() const { return *m_dialog; }
  standin::StandinServer& Server() { return m_server; }
  UiRecorder& Ui() { return m_ui; }
  const std::string& ServerAddress() const { return m_address; }
  const std::filesystem::path& XmlFolder() const { return m_folder; }
  // Whether the platform layer printed that debug line.
  bool Debugged(const std::string& line) const;
  // Waits (at most kWait) until it did.
  bool WaitForDebug(const std::string& line) const;

 private:
  std::string m_address;
  AppStateGuard m_state;
  UiRecorder m_ui;
  DebugCapture m_debug;
  SentrellApi m_savedApi;
  std::filesystem::path m_folder;
  standin::StandinServer m_server;
  std::unique_ptr<DemoProgram> m_program;
  CDemoDlg* m_dialog = nullptr;
};

}  // namespace demotest
