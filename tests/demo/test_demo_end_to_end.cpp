// The whole program against the platform server stand-in: the real library,
// bound by name, logs in on the stand-in's loopback address; the gateway
// list arrives as files and a notification; the information pages show the
// gateways and nodes; the lamp page switches a lamp and shows its reply,
// which comes back through the UDP receiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "demo/pages/smart_home_pages.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"
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

}  // namespace
