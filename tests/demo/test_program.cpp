// Start-up and end of the program, in this process and as the real program.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>

#include "demo/shell/demo_app.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/demo_program.h"
#include "tests/demo/demo_fakes.h"

namespace {

namespace fs = std::filesystem;

QString LogOf(CDemoDlg& dialog) {
  return dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->toPlainText();
}

class ProgramTest : public ::testing::Test {
 protected:
  ~ProgramTest() override {
    SetApi(saved);
    theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
  }
  demotest::AppStateGuard state;
  SentrellApi saved = Api();
};

TEST_F(ProgramTest, StartsAndClosesWithTheLibrary) {
  DemoProgram program(DemoOptions{"/opt/demo/bin", {SENTRELL_LIBRARY_PATH}});
  CDemoDlg& dialog = program.Start();
  ASSERT_TRUE(program.Binding().loaded);
  EXPECT_EQ(theApp.m_pMainWnd, &dialog);
  EXPECT_EQ(theApp.m_strXmlPath, "/opt/demo/bin/xml/");
  EXPECT_EQ(LogOf(dialog).count(QLatin1Char('\n')), static_cast<qsizetype>(program.Binding().missing.size()));
  QTimer::singleShot(0, &dialog, &QDialog::reject);
  dialog.exec();
  program.Finish();
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
  EXPECT_EQ(program.Dialog(), nullptr);
}

TEST_F(ProgramTest, StartsAndClosesWithoutTheLibrary) {
  DemoProgram program(DemoOptions{"/opt/demo/bin", {"/nonexistent/libsentrell.so"}});
  CDemoDlg& dialog = program.Start();
  EXPECT_FALSE(program.Binding().loaded);
  const QString log = LogOf(dialog);
  EXPECT_EQ(log.count(QLatin1Char('\n')), 1);
  EXPECT_TRUE(log.contains(QStringLiteral("libsentrell.so not loaded"))) << log.toStdString();
  EXPECT_EQ(Api().CM_Init(1), nullptr);
  QTimer::singleShot(0, &dialog, &QDialog::reject);
  dialog.exec();
  program.Finish();
}

TEST_F(ProgramTest, FinishFreesALiveSessionOnce) {
  DemoProgram program(DemoOptions{"/opt/demo/bin", {"/nonexistent/libsentrell.so"}});
  program.Start();
  demotest::FakeApi api;
  IotHandle* session = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(0x4242));
  theApp.m_hSession = session;
  program.Finish();
  program.Finish();
  EXPECT_EQ(theApp.m_hSession, nullptr);
  EXPECT_EQ(demotest::FakeApi::Calls(),
            (std::vector<demotest::RecordedCall>{{"CM_Free", {static_cast<long long>(0x4242)}}}));
}

bool CatchesSigterm(qint64 pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1u;
  }
  return false;
}

// Runs the program, asks it to end once it handles SIGTERM, and returns its
// exit code (-1 when it did not end in time).
int RunAndTerminate(const QString& program, QString* errors) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
  process.setProcessEnvironment(environment);
  process.start(program, {});
  if (!process.waitForStarted(30000)) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!CatchesSigterm(process.processId()) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // Let the dialog come up before it is asked to close.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  process.terminate();
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished(5000);
    return -1;
  }
  *errors = QString::fromUtf8(process.readAllStandardError());
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(ProgramProcess, EndsCleanlyOnTermination) {
  QString errors;
  EXPECT_EQ(RunAndTerminate(QStringLiteral(SENTRELLDEMO_PROGRAM), &errors), 0) << errors.toStdString();
  EXPECT_FALSE(errors.contains(QStringLiteral("Sanitizer"))) << errors.toStdString();
}

TEST(ProgramProcess, EndsCleanlyWithoutTheLibrary) {
  // A copy of the program beside the platform layer, with no libsentrell.so
  // anywhere on its path.
  const fs::path root = fs::path(DEMO_TEST_WORK_DIR) / "without-library";
  fs::remove_all(root);
  fs::create_directories(root / "bin");
  fs::create_directories(root / "lib");
  fs::copy_file(SENTRELLDEMO_PROGRAM, root / "bin" / "sentrelldemo");
  fs::copy_file(SENTRELL_PLATFORM_LIBRARY, root / "lib" / fs::path(SENTRELL_PLATFORM_LIBRARY).filename());
  QString errors;
  EXPECT_EQ(RunAndTerminate(QString::fromStdString((root / "bin" / "sentrelldemo").string()), &errors), 0)
      << errors.toStdString();
  EXPECT_FALSE(errors.contains(QStringLiteral("Sanitizer"))) << errors.toStdString();
  fs::remove_all(root);
}

}  // namespace
