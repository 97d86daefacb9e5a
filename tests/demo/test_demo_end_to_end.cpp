// The whole program against the platform server stand-in: the real library,
// bound by name, logs in on the stand-in's loopback address; the gateway
// list arrives as files and a notification; the information pages show the
// gateways and nodes; the lamp page switches a lamp and shows its reply,
// which comes back through the UDP receiver. And the README's way to try a
// device page, followed click by click.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "demo/pages/analyser_pages.h"
#include "demo/pages/smart_home_pages.h"
#include "demo/shell/api_binding.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/demo_program.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/logged_in_demo.h"
#include "tests/demo/udp_test_support.h"
#include "tools/builtin_platform.h"
#include "tools/standin_server.h"

namespace {

namespace fs = std::filesystem;

// An address of the loopback network of its own keeps this test apart from others.
constexpr const char* kServerAddress = "127.0.61.1";
constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

template <typename T>
T* Control(QWidget* page, const char* id) {
  T* control = page->findChild<T*>(QString::fromLatin1(id));
  EXPECT_NE(control, nullptr) << id;
  return control;
}

int RowWith(const QTableWidget& list, const QString& header, const QString& text) {
  for (int column = 0; column < list.columnCount(); ++column) {
    if (list.horizontalHeaderItem(column)->text() != header) continue;
    for (int row = 0; row < list.rowCount(); ++row) {
      if (list.item(row, column) != nullptr && list.item(row, column)->text() == text) return row;
    }
  }
  return -1;
}

TEST(EndToEndTest, LogsInShowsTheGatewaysAndSwitchesALamp) {
  demotest::LoggedInDemo demo(kServerAddress);
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();
  CTreePropSheet& sheet = dialog.Sheet();
  standin::StandinServer& server = demo.Server();

  QWidget* module = dialog.FindPage("CModulePage");
  EXPECT_FALSE(Control<QPushButton>(module, "1007")->isEnabled());
  EXPECT_EQ(theApp.m_serverInfo[0], "platform@standin");
  EXPECT_TRUE(fs::exists(demo.XmlFolder() / "nvs_list.xml"));

  // The gateway page lists the stand-in's gateways from the files.
  QWidget* gateways = dialog.FindPage("CNVSInfoPage");
  ASSERT_TRUE(sheet.SetActivePage(dynamic_cast<CPropertyPage*>(gateways)));
  Control<QPushButton>(gateways, "1057")->click();
  QTableWidget* gatewayList = Control<QTableWidget>(gateways, "1056");
  ASSERT_EQ(gatewayList->rowCount(), 2);
  EXPECT_GE(RowWith(*gatewayList, QStringLiteral("nvsid"), QStringLiteral("1000001")), 0);
  EXPECT_GE(RowWith(*gatewayList, QStringLiteral("name"), QStringLiteral("Store gateway")), 0);

  // The node page: choose the lab gateway, then its lamp at address 1.
  QWidget* nodes = dialog.FindPage("CNodInfoPage");
  ASSERT_TRUE(sheet.SetActivePage(dynamic_cast<CPropertyPage*>(nodes)));
  Control<QPushButton>(nodes, "1060")->click();
  QListWidget* nvsList = Control<QListWidget>(nodes, "1058");
  ASSERT_EQ(nvsList->count(), 2);
  nvsList->setCurrentRow(0);
  QTableWidget* nodeList = Control<QTableWidget>(nodes, "1059");
  const auto builtIn = standin::BuiltInNodes();
  ASSERT_EQ(nodeList->rowCount(),
            std::count_if(builtIn.begin(), builtIn.end(), [](const auto& node) { return node.nvsid == 1000001; }));
  const int lampRow = RowWith(*nodeList, QStringLiteral("nodeaddr"), QStringLiteral("1"));
  ASSERT_GE(lampRow, 0);
  QApplication::processEvents();
  const QRect cell = nodeList->visualItemRect(nodeList->item(lampRow, 0));
  QTest::mouseClick(nodeList->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  EXPECT_EQ(theApp.NodeTarget.nvsid, 1000001u);
  EXPECT_EQ(theApp.NodeTarget.netid, 1u);
  EXPECT_EQ(theApp.NodeTarget.nodeaddr, 1u);

  // The lamp page switches the lamp on; its reply comes back as a datagram.
  auto* lamp = dynamic_cast<CLampPage*>(dialog.FindPage("CLampPage"));
  ASSERT_TRUE(sheet.SetActivePage(lamp));
  const std::size_t iotBefore = server.Received().size();
  Control<QPushButton>(lamp, "1066")->click();
  EXPECT_TRUE(server.WaitFor("iot", 1, std::chrono::milliseconds(kWaitMs)));
  EXPECT_GT(server.Received().size(), iotBefore);
  ASSERT_TRUE(QTest::qWaitFor([&] { return lamp->IconStateOf(IDC_STATE_ICON) == IconState::kOn; }, kWaitMs));

  QApplication::processEvents();
  const QImage image = dialog.grab().toImage();
  ASSERT_FALSE(image.isNull());
  const QString file = QStringLiteral(DEMO_TEST_WORK_DIR "/sentrelldemo-lamp-page.png");
  EXPECT_TRUE(image.save(file, "PNG")) << file.toStdString();

  demo.EndProgram();
  EXPECT_EQ(theApp.m_hSession, nullptr);
  EXPECT_TRUE(server.WaitFor("quit", 1, demotest::LoggedInDemo::kWait));
}

// The README's way to try a device page, as an operator follows it in the
// program that the run command starts: the program binds the library beside
// it and proposes the user and the password that the stand-in accepts. Only
// the server address, the receiver's port and the XML folder are this
// test's own (the program's are fixed, and other tests run meanwhile).
class ReadmeSequenceTest : public ::testing::Test {
 protected:
  static constexpr const char* kAddress = "127.0.61.2";

  ReadmeSequenceTest()
      : m_folder(fs::temp_directory_path() / ("sentrelldemo_readme_" + std::to_string(getpid()))) {
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  ~ReadmeSequenceTest() override {
    if (m_program) m_program->Finish();
    m_server.Stop();
    SetApi(m_savedApi);
    theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
  }

  // The stand-in serves the built-in platform; the program starts as the
  // run command starts it, with its main dialog shown.
  CDemoDlg* StartProgram() {
    if (!m_server.SetScript(standin::BuiltInPlatform()) ||
        !m_server.Start(kAddress, standin::StandinServer::kDefaultPort))
      return nullptr;
    const std::string programDir = QCoreApplication::applicationDirPath().toStdString();
    m_program = std::make_unique<DemoProgram>(DemoOptions{programDir, DefaultLibraryCandidates(programDir)});
    CDemoDlg& dialog = m_program->Start();
    if (!m_program->Binding().loaded) return nullptr;
    dialog.show();
    dialog.m_nNotifyPort = demotest::FreeUdpPort();
    return &dialog;
  }

  demotest::AppStateGuard m_state;
  demotest::UiRecorder m_ui;
  demotest::DebugCapture m_debug;  // the program's debug lines, kept out of the test's output
  SentrellApi m_savedApi = Api();
  fs::path m_folder;
  standin::StandinServer m_server;
  std::unique_ptr<DemoProgram> m_program;
};

// Clicks a widget's item where it is drawn, as an operator does.
void ClickAt(QWidget* viewport, const QRect& where) {
  QApplication::processEvents();
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, where.center());
}

// Clicks the tree item of a page: the levels of its caption, "::" apart.
bool ClickTreeItem(QTreeWidget& tree, const QString& caption) {
  QTreeWidgetItem* item = nullptr;
  for (const QString& level : caption.split(QStringLiteral("::"))) {
    QTreeWidgetItem* parent = item;
    item = nullptr;
    const int count = parent != nullptr ? parent->childCount() : tree.topLevelItemCount();
    for (int i = 0; i < count && item == nullptr; ++i) {
      QTreeWidgetItem* candidate = parent != nullptr ? parent->child(i) : tree.topLevelItem(i);
      if (candidate->text(0) == level) item = candidate;
    }
    if (item == nullptr) return false;
  }
  tree.scrollToItem(item);
  ClickAt(tree.viewport(), tree.visualItemRect(item));
  return true;
}

QListWidgetItem* ItemWith(const QListWidget& list, const QString& text) {
  const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.front();
}

QPushButton* ButtonWith(QWidget* page, const QString& caption) {
  for (QPushButton* button : page->findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

TEST_F(ReadmeSequenceTest, InitLoginNotificationTargetsNodeAndPageShowTheStandInsReading) {
  CDemoDlg* dialog = StartProgram();
  ASSERT_NE(dialog, nullptr) << "the stand-in or the program does not start";
  QTreeWidget* tree = dialog->Sheet().GetPageTreeControl();
  ASSERT_NE(tree, nullptr);

  // The module page, the first page shown. This test's own XML folder,
  // chosen with "设置XML路径(SetXMLPath)", keeps its files apart from other
  // tests'.
  QWidget* module = dialog->FindPage("CModulePage");
  ASSERT_EQ(dialog->Sheet().GetActivePage(), module);
  auto* folder = Control<QPushButton>(module, "1006");
  auto* init = Control<QPushButton>(module, "1005");
  auto* server = Control<QComboBox>(module, "1002");
  auto* login = Control<QPushButton>(module, "1007");
  auto* udp = Control<QCheckBox>(module, "1071");
  auto* targets = Control<QPushButton>(module, "1068");
  ASSERT_TRUE(folder && init && server && login && udp && targets);
  EXPECT_EQ(init->text(), QStringLiteral("初始化模块(Init)"));
  EXPECT_EQ(login->text(), QStringLiteral("登录(Login)"));
  EXPECT_EQ(targets->text(), QStringLiteral("设置通知目标"));
  m_ui.nextFolder = QString::fromStdString(m_folder.string());
  folder->click();

  init->click();
  EXPECT_FALSE(init->isEnabled());
  server->lineEdit()->clear();
  QTest::keyClicks(server->lineEdit(), QString::fromLatin1(kAddress));
  login->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !login->isEnabled(); }, kWaitMs)) << "not logged in";
  EXPECT_TRUE(udp->isChecked()) << "UDP notifications are not ticked by default";
  targets->click();
  EXPECT_TRUE(m_ui.messages.isEmpty()) << m_ui.messages.join(QStringLiteral("|")).toStdString();

  // The node page: the gateway list, the lab gateway, its CO2 analyser.
  // Both lists follow the log-in; until they have come, the page lists
  // nothing and the operator presses and chooses again.
  QWidget* nodes = dialog->FindPage("CNodInfoPage");
  ASSERT_TRUE(ClickTreeItem(*tree, QStringLiteral("节点信息")));
  ASSERT_EQ(dialog->Sheet().GetActivePage(), nodes);
  auto* refresh = Control<QPushButton>(nodes, "1060");
  auto* gateways = Control<QListWidget>(nodes, "1058");
  auto* nodeList = Control<QTableWidget>(nodes, "1059");
  ASSERT_TRUE(refresh && gateways && nodeList);
  EXPECT_EQ(refresh->text(), QStringLiteral("更新NVS列表"));
  int analyser = -1;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        refresh->click();
        QListWidgetItem* lab = ItemWith(*gateways, QStringLiteral("Lab gateway"));
        if (lab == nullptr) return false;
        ClickAt(gateways->viewport(), gateways->visualItemRect(lab));
        analyser = RowWith(*nodeList, QStringLiteral("name"), QStringLiteral("CO2 analyser"));
        return analyser >= 0;
      },
      kWaitMs))
      << gateways->count() << " gateways, " << nodeList->rowCount() << " nodes listed";
  nodeList->scrollToItem(nodeList->item(analyser, 0));
  ClickAt(nodeList->viewport(), nodeList->visualItemRect(nodeList->item(analyser, 0)));
  // The main dialog's NVS, NET and NOD boxes show the node chosen.
  EXPECT_EQ(Control<QComboBox>(dialog, "1061")->currentText(), QStringLiteral("1000001"));
  EXPECT_EQ(Control<QComboBox>(dialog, "1062")->currentText(), QStringLiteral("1"));
  EXPECT_EQ(Control<QComboBox>(dialog, "1063")->currentText(), QStringLiteral("11"));

  // The CO2 page: a query, and the stand-in's reading on the page.
  auto* co2 = dynamic_cast<CCO2Page*>(dialog->FindPage("CCO2Page"));
  ASSERT_NE(co2, nullptr);
  ASSERT_TRUE(ClickTreeItem(*tree, co2->Caption()));
  ASSERT_EQ(dialog->Sheet().GetActivePage(), co2);
  QPushButton* query = ButtonWith(co2, QStringLiteral("查询(&Q)"));
  auto* value = Control<QLineEdit>(co2, std::to_string(IDC_ANALYSER_VALUE).c_str());
  ASSERT_TRUE(query && value);
  query->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return value->text() == QStringLiteral("415"); }, kWaitMs))
      << "the page shows \"" << value->text().toStdString() << "\"";
}

}  // namespace
