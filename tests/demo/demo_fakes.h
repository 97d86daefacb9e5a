#pragma once
// Fakes of the program's outside world: the library's function table, the
// message boxes and modal dialogs, the video views and the debug output.
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "demo/shell/demo_app.h"
#include "demo/shell/sentrell_api.h"
#include "demo/shell/ui_services.h"
#include "demo/shell/video_view.h"
#include "tests/demo/recorded_call.h"

namespace demotest {

// Puts a recording table in place of the library's and restores the old
// one at the end. Every bound export records its arguments (integers and
// the handle in `args`, reals, texts, and the bytes of a buffer passed with
// its length) and gives `Result()`, or the result set for that export
// (CM_Init gives it as its handle). CM_GetServerInfo and CM_GetNVSXmlPath
// write the texts set for them; no other export writes an output.
class FakeApi {
 public:
  FakeApi();
  ~FakeApi();
  static std::vector<RecordedCall> Calls();
  // The calls of one export.
  static std::vector<RecordedCall> CallsOf(const std::string& name);
  static void SetResult(int result);
  static void SetResult(const std::string& name, long long result);
  static int Result();
  static long long ResultOf(const std::string& name);
  // Texts the output exports write: CM_GetServerInfo's three, CM_GetNVSXmlPath's one.
  static void SetServerInfo(std::string from, std::string contact, std::string body);
  static void SetXmlPath(std::string folder);
  // Called with the export's name while it runs (after recording it).
  static void SetDuringCall(std::function<void(const std::string& name)> hook);
  static void Record(RecordedCall call);

 private:
  SentrellApi m_saved;
};

// Message boxes, folder picks and modal dialogs recorded instead of shown.
class UiRecorder {
 public:
  UiRecorder();
  ~UiRecorder();
  QStringList messages;
  QString nextFolder;
  QStringList folderTitles;
  // Window title and the texts of the labels of every modal dialog.
  std::vector<QStringList> dialogs;

 private:
  UiServices m_saved;
};

// Debug lines captured from the platform layer's debug sink.
class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  std::vector<std::string> Lines() const;

 private:
  static void Sink(const char* text, void* user);
  mutable std::mutex m_mutex;
  std::vector<std::string> m_lines;
};

// Video views that record their calls as "<id>:StopPlay" and
// "<id>:StartPlay(server,user,password,nvsid)".
class VideoRecorder {
 public:
  explicit VideoRecorder(bool failCreation = false);
  ~VideoRecorder();
  std::shared_ptr<std::vector<std::string>> calls = std::make_shared<std::vector<std::string>>();
};

// Keeps the shared state of theApp that tests change.
class AppStateGuard {
 public:
  AppStateGuard();
  ~AppStateGuard();

 private:
  IotHandle* m_session;
  NodeTargetInfo m_target;
  CDemoDlg* m_mainWnd;
  std::string m_server;
  std::string m_user;
  std::string m_password;
  std::string m_xmlPath;
  std::array<std::string, 3> m_serverInfo;
};

}  // namespace demotest
