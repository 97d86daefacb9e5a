// The cabinet and card-power pages against the stand-in: the real library
// logs in on a loopback address of its own, the pages' commands reach the
// simulated devices, and their replies come back through the UDP receiver.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "demo/pages/cabinet_pages.h"
#include "demo/pages/card_power_page.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/demo_program.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/udp_test_support.h"
#include "tools/builtin_platform.h"
#include "tools/standin_server.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kServerAddress = "127.0.61.28";
constexpr int kWaitMs = 20000;

void Click(QWidget* page, int id) {
  auto* button = page->findChild<QPushButton*>(QString::number(id));
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

TEST(LabPagesEndToEnd, CabinetWeightAndCardPowerStateFromTheSimulatedDevices) {
  demotest::AppStateGuard state;
  demotest::UiRecorder ui;
  const SentrellApi savedApi = Api();
  const fs::path folder = fs::temp_directory_path() / ("sentrelldemo_lab_e2e_" + std::to_string(getpid()));
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

    // Log in: the XML folder, initialise, UDP notifications, log in.
    QWidget* module = dialog.FindPage("CModulePage");
    ui.nextFolder = QString::fromStdString(folder.string());
    Click(module, 1006);
    Click(module, 1005);
    ASSERT_NE(theApp.m_hSession, nullptr);
    ASSERT_TRUE(module->findChild<QCheckBox*>(QStringLiteral("1071"))->isChecked());
    Click(module, 1068);
    module->findChild<QComboBox*>(QStringLiteral("1002"))->setEditText(QString::fromLatin1(kServerAddress));
    module->findChild<QComboBox*>(QStringLiteral("1004"))->setEditText(QStringLiteral("admin"));
    Click(module, 1007);
    ASSERT_TRUE(ui.messages.isEmpty()) << ui.messages.join(QStringLiteral("|")).toStdString();
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 7};

    // The cabinet's box 2 weighs 190 g in the simulation.
    auto* cabinet = dynamic_cast<CCabMgzPage*>(dialog.FindPage("CCabMgzPage"));
    ASSERT_NE(cabinet, nullptr);
    ASSERT_TRUE(dialog.Sheet().SetActivePage(cabinet));
    cabinet->findChild<QComboBox*>(QStringLiteral("1372"))->setCurrentIndex(2);
    Click(cabinet, IDC_CABMGZ_WEIGHT);
    QListWidget* events = cabinet->ListBoxOf(IDC_CABMGZ_EVENTS);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !events->findItems(QString::fromUtf8("2号箱内的物品重量为190"), Qt::MatchExactly).isEmpty(); },
        kWaitMs));

    // The card-power controller reports its power state.
    auto* power = dynamic_cast<CICReadPage*>(dialog.FindPage("CICReadPage"));
    ASSERT_NE(power, nullptr);
    ASSERT_TRUE(dialog.Sheet().SetActivePage(power));
    Click(power, IDC_ICREAD_QUERY_STATUS);
    ASSERT_TRUE(QTest::qWaitFor([&] { return power->IconStateOf(IDC_ICREAD_POWER_ICON) != IconState::kPending; },
                                kWaitMs));
    EXPECT_FALSE(power->findChild<QLineEdit*>(QStringLiteral("1266"))->text().isEmpty());

    program.Finish();
    EXPECT_TRUE(server.WaitFor("quit", 1, std::chrono::milliseconds(kWaitMs)));
    server.Stop();
  }
  SetApi(savedApi);
  theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
  fs::remove_all(folder);
}

}  // namespace
