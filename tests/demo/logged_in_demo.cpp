#include "tests/demo/logged_in_demo.h"

#include <unistd.h>

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include "demo/shell/demo_dlg.h"
#include "tests/demo/udp_test_support.h"
#include "tools/builtin_platform.h"

namespace demotest {

namespace fs = std::filesystem;

namespace {

template <typename T>
T* Find(QWidget* page, const char* id) {
  return page != nullptr ? page->findChild<T*>(QString::fromLatin1(id)) : nullptr;
}

}  // namespace

LoggedInDemo::LoggedInDemo(std::string serverAddress)
    : m_address(std::move(serverAddress)),
      m_savedApi(Api()),
      m_folder(fs::temp_directory_path() /
               ("sentrelldemo_e2e_" + std::to_string(getpid()) + "_" + m_address)) {
  fs::remove_all(m_folder);
  fs::create_directories(m_folder);
}

LoggedInDemo::~LoggedInDemo() {
  EndProgram();
  m_server.Stop();
  SetApi(m_savedApi);
  theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
  std::error_code ignored;
  fs::remove_all(m_folder, ignored);
}

::testing::AssertionResult LoggedInDemo::LogIn() {
  if (!m_server.SetScript(standin::BuiltInPlatform())) return ::testing::AssertionFailure() << "script refused";
  if (!m_server.Start(m_address, standin::StandinServer::kDefaultPort))
    return ::testing::AssertionFailure() << "the stand-in does not start on " << m_address;

  m_program = std::make_unique<DemoProgram>(
      DemoOptions{QCoreApplication::applicationDirPath().toStdString(), {SENTRELL_LIBRARY_PATH}});
  m_dialog = &m_program->Start();
  if (!m_program->Binding().loaded)
    return ::testing::AssertionFailure() << "library not bound: " << m_program->Binding().loadError;
  m_dialog->show();
  m_dialog->m_nNotifyPort = FreeUdpPort();

  // Module page: the XML folder, initialise, UDP notifications, log in.
  QWidget* module = m_dialog->FindPage("CModulePage");
  auto* folder = Find<QPushButton>(module, "1006");
  auto* init = Find<QPushButton>(module, "1005");
  auto* udp = Find<QPushButton>(module, "1068");
  auto* udpOn = Find<QCheckBox>(module, "1071");
  auto* server = Find<QComboBox>(module, "1002");
  auto* password = Find<QComboBox>(module, "1004");
  auto* login = Find<QPushButton>(module, "1007");
  if (!folder || !init || !udp || !udpOn || !server || !password || !login)
    return ::testing::AssertionFailure() << "a control of the module page is missing";
  m_ui.nextFolder = QString::fromStdString(m_folder.string());
  folder->click();
  init->click();
  if (theApp.m_hSession == nullptr) return ::testing::AssertionFailure() << "CM_Init gave no session";
  if (!udpOn->isChecked()) return ::testing::AssertionFailure() << "UDP notifications are not chosen";
  udp->click();
  server->setEditText(QString::fromStdString(m_address));
  // The stand-in takes "admin" as well as the proposed password.
  password->setEditText(QStringLiteral("admin"));
  login->click();
  if (!m_ui.messages.isEmpty())
    return ::testing::AssertionFailure() << "messages: " << m_ui.messages.join(QStringLiteral("|")).toStdString();
  if (!QTest::qWaitFor([&] { return !login->isEnabled(); }, static_cast<int>(kWait.count())))
    return ::testing::AssertionFailure() << "not logged in";

  // The gateway list and the first gateway's nodes arrive.
  if (!WaitForDebug("====Udp Message: NVSLIST\n")) return ::testing::AssertionFailure() << "no gateway list";
  if (!WaitForDebug("====Udp Message: NODLIST, 1000001\n"))
    return ::testing::AssertionFailure() << "no node list of gateway 1000001";
  return ::testing::AssertionSuccess();
}

void LoggedInDemo::EndProgram() {
  if (m_program) m_program->Finish();
  m_dialog = nullptr;
}

bool LoggedInDemo::Debugged(const std::string& line) const {
  const auto lines = m_debug.Lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool LoggedInDemo::WaitForDebug(const std::string& line) const {
  return QTest::qWaitFor([&] { return Debugged(line); }, static_cast<int>(kWait.count()));
}

}  // namespace demotest
