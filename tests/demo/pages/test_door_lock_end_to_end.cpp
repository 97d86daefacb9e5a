// The fingerprint lock page against the stand-in's simulated lock, through
// the real library and the program's UDP receiver: "开门" opens the door and
// the lock's answers show the open door and the operation's result.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>

#include "demo/pages/door_lock_pages.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/demo_program.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/udp_test_support.h"
#include "tools/builtin_platform.h"
#include "tools/standin_server.h"

namespace {

namespace fs = std::filesystem;

// The library's server port is fixed; a loopback address of this test's own.
constexpr const char* kServerAddress = "127.0.61.26";
constexpr int kWaitMs = 20000;

QPushButton* ButtonOf(QWidget* page, const char* id) {
  auto* button = page->findChild<QPushButton*>(QString::fromLatin1(id));
  EXPECT_NE(button, nullptr) << id;
  return button;
}

TEST(DoorLockEndToEnd, OpeningTheDoorShowsTheLocksAnswers) {
  demotest::AppStateGuard state;
  demotest::UiRecorder ui;
  const SentrellApi savedApi = Api();
  const fs::path folder = fs::temp_directory_path() / ("sentrelldemo_dlock_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  {
    standin::StandinServer server;
    ASSERT_TRUE(server.SetScript(standin::BuiltInPlatform()));
    ASSERT_TRUE(server.Start(kServerAddress, standin::StandinServer::kDefaultPort));
    DemoProgram program(DemoOptions{QCoreApplication::applicationDirPath().toStdString(), {SENTRELL_LIBRARY_PATH}});
    CDemoDlg& dialog = program.Start();
    ASSERT_TRUE(program.Binding().loaded) << program.Binding().loadError;
    dialog.show();
    dialog.m_nNotifyPort = demotest::FreeUdpPort();

    // Initialise with the XML folder and UDP notifications, then log in.
    QWidget* module = dialog.FindPage("CModulePage");
    ui.nextFolder = QString::fromStdString(folder.string());
    ButtonOf(module, "1006")->click();
    ButtonOf(module, "1005")->click();
    ASSERT_NE(theApp.m_hSession, nullptr);
    ButtonOf(module, "1068")->click();
    module->findChild<QComboBox*>(QStringLiteral("1002"))->setEditText(QString::fromLatin1(kServerAddress));
    module->findChild<QComboBox*>(QStringLiteral("1004"))->setEditText(QStringLiteral("admin"));
    ButtonOf(module, "1007")->click();
    ASSERT_TRUE(ui.messages.isEmpty()) << ui.messages.join(QStringLiteral("|")).toStdString();

    // The stand-in simulates a fingerprint lock at any address of a gateway.
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 5};
    auto* lock = dynamic_cast<CDLockFingerPage*>(dialog.FindPage("CDLockFingerPage"));
    ASSERT_NE(lock, nullptr);
    ASSERT_TRUE(dialog.Sheet().SetActivePage(lock));
    ButtonOf(lock, "1131")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lock->IconStateOf(IDC_DLOCK_STATE) == IconState::kOn; }, kWaitMs));
    auto* log = dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"));
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return log->toPlainText().contains(QString::fromUtf8("DLOCK: 门开信息")); }, kWaitMs));
    EXPECT_TRUE(log->toPlainText().contains(QString::fromUtf8("DLOCK: 指令开门指令接收成功")))
        << log->toPlainText().toStdString();

    program.Finish();
    server.Stop();
  }
  SetApi(savedApi);
  theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
  fs::remove_all(folder);
}

}  // namespace
