// The temperature and humidity, anemometer and card reader pages against
// the stand-in: the real library logs in on a loopback address of its own, a
// button sends the command, and the simulated device's reply comes back
// through the UDP receiver to the page.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "demo/pages/collector_pages.h"
#include "demo/pages/reader_adapter_pages.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/demo_program.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/udp_test_support.h"
#include "tools/builtin_platform.h"
#include "tools/iot_frames.h"
#include "tools/standin_server.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kServerAddress = "127.0.61.25";
constexpr int kWaitMs = 20000;

QString EditText(QWidget* page, int id) {
  auto* edit = page->findChild<QLineEdit*>(QString::number(id));
  return edit != nullptr ? edit->text() : QString();
}

void Click(QWidget* page, int id) {
  auto* button = page->findChild<QPushButton*>(QString::number(id));
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

TEST(CollectorEndToEnd, SingleSampleWindSpeedAndACardFromTheStandin) {
  demotest::AppStateGuard state;
  demotest::UiRecorder ui;
  const SentrellApi savedApi = Api();
  const fs::path folder = fs::temp_directory_path() / ("sentrelldemo_collector_e2e_" + std::to_string(getpid()));
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

    // Module page: the XML folder, initialise, UDP notifications, log in.
    QWidget* module = dialog.FindPage("CModulePage");
    ui.nextFolder = QString::fromStdString(folder.string());
    Click(module, 1006);
    Click(module, 1005);
    ASSERT_NE(theApp.m_hSession, nullptr);
    Click(module, 1068);
    module->findChild<QComboBox*>(QStringLiteral("1002"))->setEditText(QString::fromLatin1(kServerAddress));
    module->findChild<QComboBox*>(QStringLiteral("1004"))->setEditText(QStringLiteral("admin"));
    Click(module, 1007);
    ASSERT_TRUE(ui.messages.isEmpty()) << ui.messages.join(QStringLiteral("|")).toStdString();

    // A temperature and humidity collector at node 2 of the lab gateway.
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 2};
    CPropertyPage* thdc = dialog.FindPage("CTHDCPage");
    ASSERT_TRUE(dialog.Sheet().SetActivePage(thdc));
    Click(thdc, IDC_COLLECTOR_SAMPLING);
    EXPECT_TRUE(QTest::qWaitFor([&] { return EditText(thdc, 1079) == QStringLiteral("25.3"); }, kWaitMs))
        << EditText(thdc, 1079).toStdString();
    EXPECT_EQ(EditText(thdc, 1080), QStringLiteral("60.1"));
    EXPECT_EQ(dynamic_cast<KitPage*>(thdc)->IconStateOf(IDC_COLLECTOR_STATE), IconState::kPending);

    // The adapter at node 1 has an anemometer; its 57 tenths of m/s come as
    // the whole metres per second.
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 1};
    CPropertyPage* anemometer = dialog.FindPage("CAdapterFSPage");
    ASSERT_TRUE(dialog.Sheet().SetActivePage(anemometer));
    Click(anemometer, IDC_ADAPTER_GET_DATA);
    EXPECT_TRUE(QTest::qWaitFor([&] { return EditText(anemometer, IDC_ADAPTER_WIND_SPEED) == QStringLiteral("5"); },
                                kWaitMs))
        << EditText(anemometer, IDC_ADAPTER_WIND_SPEED).toStdString();

    // The 13.56 MHz card reader at node 2 is not simulated: its card report
    // is injected as the frame the reader sends by itself.
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 2};
    CPropertyPage* reader = dialog.FindPage("CRFIDControl13M56Page");
    ASSERT_TRUE(dialog.Sheet().SetActivePage(reader));
    ASSERT_TRUE(server.Send(standin::IotReply(1000001, standin::DeviceFrame{1, 2, 91, 0x43, {0x78, 0x56, 0x34, 0x12}})));
    EXPECT_TRUE(QTest::qWaitFor([&] { return EditText(reader, IDC_RFID_CARD) == QStringLiteral("12345678"); }, kWaitMs))
        << EditText(reader, IDC_RFID_CARD).toStdString();
    EXPECT_EQ(EditText(reader, IDC_RFID_CARD_TYPE), QStringLiteral("A"));

    program.Finish();
    server.Stop();
  }
  SetApi(savedApi);
  theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
  fs::remove_all(folder);
}

}  // namespace
