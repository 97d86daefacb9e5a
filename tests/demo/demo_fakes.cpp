#include "tests/demo/demo_fakes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "sentrellplatform.h"
#include "tests/demo/export_recorder.h"

namespace demotest {

namespace {

std::mutex g_callsMutex;
std::vector<RecordedCall> g_calls;
int g_result = 1;
std::map<std::string, long long> g_results;
std::array<std::string, 3> g_serverInfo;
std::string g_xmlPath;
std::function<void(const std::string&)> g_duringCall;

// Copies a text into a buffer of `size` bytes, cut to fit with its zero.
void Write(char* buffer, std::size_t size, const std::string& text) {
  if (buffer == nullptr || size == 0) return;
  const std::size_t length = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

class RecordingVideoView : public IVideoView {
 public:
  RecordingVideoView(QWidget* parent, std::shared_ptr<std::vector<std::string>> calls)
      : m_widget(new QWidget(parent)), m_calls(std::move(calls)) {}
  ~RecordingVideoView() override { delete m_widget.data(); }
  int StartPlay(const std::string& server, const std::string& user, const std::string& password,
                std::int32_t nvsid) override {
    m_calls->push_back(Id() + ":StartPlay(" + server + "," + user + "," + password + "," + std::to_string(nvsid) +
                       ")");
    return 0;
  }
  int StopPlay() override {
    m_calls->push_back(Id() + ":StopPlay");
    return 0;
  }
  QWidget* widget() override { return m_widget; }

 private:
  std::string Id() const { return m_widget ? m_widget->objectName().toStdString() : std::string(); }
  QPointer<QWidget> m_widget;
  std::shared_ptr<std::vector<std::string>> m_calls;
};

}  // namespace

FakeApi::FakeApi() : m_saved(Api()) {
  {
    std::lock_guard lock(g_callsMutex);
    g_calls.clear();
    g_result = 1;
    g_results.clear();
    g_serverInfo = {};
    g_xmlPath.clear();
    g_duringCall = nullptr;
  }
  SentrellApi api;
#define DEMO_FAKE_RECORDER(name) api.name = &ExportRecorder<#name, decltype(SentrellApi::name)>::Call;
  DEMO_BOUND_EXPORTS(DEMO_FAKE_RECORDER)
#undef DEMO_FAKE_RECORDER
  api.CM_GetServerInfo = [](IotHandle* handle, char* from, char* contact, char* body) {
    const int result = ExportRecorder<"CM_GetServerInfo", decltype(SentrellApi::CM_GetServerInfo)>::Call(
        handle, from, contact, body);
    std::lock_guard lock(g_callsMutex);
    Write(from, 32, g_serverInfo[0]);
    Write(contact, 32, g_serverInfo[1]);
    Write(body, 512, g_serverInfo[2]);
    return result;
  };
  api.CM_GetNVSXmlPath = [](IotHandle* handle, char* folder) {
    const int result =
        ExportRecorder<"CM_GetNVSXmlPath", decltype(SentrellApi::CM_GetNVSXmlPath)>::Call(handle, folder);
    std::lock_guard lock(g_callsMutex);
    Write(folder, 260, g_xmlPath);
    return result;
  };
  SetApi(api);
}

FakeApi::~FakeApi() {
  SetApi(m_saved);
  std::lock_guard lock(g_callsMutex);
  g_duringCall = nullptr;
}

std::vector<RecordedCall> FakeApi::Calls() {
  std::lock_guard lock(g_callsMutex);
  return g_calls;
}

std::vector<RecordedCall> FakeApi::CallsOf(const std::string& name) {
  std::lock_guard lock(g_callsMutex);
  std::vector<RecordedCall> calls;
  for (const RecordedCall& call : g_calls) {
    if (call.name == name) calls.push_back(call);
  }
  return calls;
}

void FakeApi::SetResult(int result) {
  std::lock_guard lock(g_callsMutex);
  g_result = result;
}

void FakeApi::SetResult(const std::string& name, long long result) {
  std::lock_guard lock(g_callsMutex);
  g_results[name] = result;
}

int FakeApi::Result() {
  std::lock_guard lock(g_callsMutex);
  return g_result;
}

long long FakeApi::ResultOf(const std::string& name) {
  std::lock_guard lock(g_callsMutex);
  const auto found = g_results.find(name);
  return found != g_results.end() ? found->second : g_result;
}

void FakeApi::SetServerInfo(std::string from, std::string contact, std::string body) {
  std::lock_guard lock(g_callsMutex);
  g_serverInfo = {std::move(from), std::move(contact), std::move(body)};
}

void FakeApi::SetXmlPath(std::string folder) {
  std::lock_guard lock(g_callsMutex);
  g_xmlPath = std::move(folder);
}

void FakeApi::SetDuringCall(std::function<void(const std::string& name)> hook) {
  std::lock_guard lock(g_callsMutex);
  g_duringCall = std::move(hook);
}

void RecordExportCall(RecordedCall call) { FakeApi::Record(std::move(call)); }

long long ExportResult(const std::string& name) { return FakeApi::ResultOf(name); }

void FakeApi::Record(RecordedCall call) {
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard lock(g_callsMutex);
    g_calls.push_back(call);
    hook = g_duringCall;
  }
  if (hook) hook(call.name);
}

UiRecorder::UiRecorder() : m_saved(Ui()) {
  UiServices services;
  services.message = [this](QWidget*, const QString& text) { messages.push_back(text); };
  services.pickFolder = [this](QWidget*, const QString& title) {
    folderTitles.push_back(title);
    return nextFolder;
  };
  services.runModal = [this](QDialog& dialog) {
    QStringList texts{dialog.windowTitle()};
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      if (!label->text().isEmpty()) texts.push_back(label->text());
    }
    dialogs.push_back(texts);
    return static_cast<int>(QDialog::Accepted);
  };
  SetUi(std::move(services));
}

UiRecorder::~UiRecorder() { SetUi(m_saved); }

DebugCapture::DebugCapture() { PlatSetDebugSink(&DebugCapture::Sink, this); }

DebugCapture::~DebugCapture() { PlatSetDebugSink(nullptr, nullptr); }

std::vector<std::string> DebugCapture::Lines() const {
  std::lock_guard lock(m_mutex);
  return m_lines;
}

void DebugCapture::Sink(const char* text, void* user) {
  auto* self = static_cast<DebugCapture*>(user);
  std::lock_guard lock(self->m_mutex);
  self->m_lines.emplace_back(text);
}

VideoRecorder::VideoRecorder(bool failCreation) {
  auto recorded = calls;
  SetVideoViewFactory([recorded, failCreation](QWidget* parent) -> std::unique_ptr<IVideoView> {
    if (failCreation) return nullptr;
    return std::make_unique<RecordingVideoView>(parent, recorded);
  });
}

VideoRecorder::~VideoRecorder() { SetVideoViewFactory(nullptr); }

AppStateGuard::AppStateGuard()
    : m_session(theApp.m_hSession),
      m_target(theApp.NodeTarget),
      m_mainWnd(theApp.m_pMainWnd),
      m_server(theApp.m_strServer),
      m_user(theApp.m_strUser),
      m_password(theApp.m_strPassword),
      m_xmlPath(theApp.m_strXmlPath),
      m_serverInfo(theApp.m_serverInfo) {}

AppStateGuard::~AppStateGuard() {
  theApp.m_hSession = m_session;
  theApp.NodeTarget = m_target;
  theApp.m_pMainWnd = m_mainWnd;
  theApp.m_strServer = m_server;
  theApp.m_strUser = m_user;
  theApp.m_strPassword = m_password;
  theApp.m_strXmlPath = m_xmlPath;
  theApp.m_serverInfo = m_serverInfo;
}

}  // namespace demotest
