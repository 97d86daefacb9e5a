// The gateway and node information pages over hand-written directory files
// (UTF-8 with a byte-order mark and CR LF line ends, as the library writes
// them), and the readers under them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "demo/pages/info_pages.h"
#include "demo/pages/nvs_xml_reader.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/demo_fakes.h"

namespace {

namespace fs = std::filesystem;
using demotest::FakeApi;
using demotest::RecordedCall;

struct Gateway {
  long long nvsid;
  std::string name;
  int online;
};

struct Node {
  std::string netid;
  std::string nodeaddr;
  std::string name;
};

constexpr const char* kHead = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n";

std::string Element(const std::string& tag, const std::string& text) {
  return "<" + tag + ">" + text + "</" + tag + ">\r\n";
}

std::string NvsListXml(const std::vector<Gateway>& gateways) {
  std::string xml = std::string(kHead) + "<nvslist count=\"" + std::to_string(gateways.size()) +
                    "\" updatetime=\"2024-05-06 07:08:09\">\r\n";
  for (const Gateway& g : gateways) {
    xml += "<nvs>\r\n" + Element("nvsid", std::to_string(g.nvsid)) + Element("name", g.name) +
           Element("online", std::to_string(g.online)) + Element("alarm", "0") + Element("adminread", "1") +
           "</nvs>\r\n";
  }
  return xml + "</nvslist>\r\n";
}

std::string NvsFileXml(long long nvsid, const std::string& name, const std::vector<Node>& nodes) {
  std::string xml = std::string(kHead) + "<Lumora>\r\n<nvs>\r\n" + Element("version", "1.0") +
                    Element("serverip", "127.0.0.7") + Element("serverport", "4388") + Element("nvsip", "") +
                    Element("nvsid", std::to_string(nvsid)) + Element("flag", "0") + Element("name", name) +
                    Element("online", "1") + Element("user", "admin") + "<video>\r\n" + Element("codec", "mpeg4") +
                    Element("width", "720") + Element("height", "576") + Element("fps", "13") + "</video>\r\n" +
                    Element("updatetime", "2024-05-06 07:08:10") + "<nodes count=\"" +
                    std::to_string(nodes.size()) + "\" check=\"42\">\r\n";
  for (const Node& n : nodes) {
    xml += "<node>\r\n" + Element("devicestatus", "1") + Element("name", n.name) + Element("type", "81") +
           Element("netid", n.netid) + Element("nodeaddr", n.nodeaddr) + Element("cmdid", "0") + "</node>\r\n";
  }
  return xml + "</nodes>\r\n</nvs>\r\n</Lumora>\r\n";
}

class InfoPagesTest : public ::testing::Test {
 protected:
  InfoPagesTest() {
    static int serial = 0;
    folder = fs::temp_directory_path() /
             ("sentrelldemo_info_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
    fs::remove_all(folder);
    fs::create_directories(folder);
    theApp.m_strXmlPath = folder.string() + "/";
    theApp.m_pMainWnd = &dialog;
    theApp.m_hSession = nullptr;
    nvsPage->EnsureCreated();
    nodPage->EnsureCreated();
  }
  ~InfoPagesTest() override { fs::remove_all(folder); }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder / name, std::ios::binary) << text;
  }
  void WriteStandardFiles() {
    Write("nvs_list.xml", NvsListXml({{1000001, "Lab gateway", 1}, {2000002, "Store gateway", 0}}));
    Write("nvs_1000001.xml", NvsFileXml(1000001, "Lab gateway", {{"1", "3", "Desk lamp"}, {"1", "2", "Hall lamp"}}));
    Write("nvs_2000002.xml", NvsFileXml(2000002, "Store gateway", {{"65537", "5", "Shop lamp"}}));
  }
  template <typename T>
  T* Control(CPropertyPage* page, const char* id) {
    T* control = page->findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  static QString Cell(const QTableWidget* list, int row, const QString& header) {
    for (int column = 0; column < list->columnCount(); ++column) {
      if (list->horizontalHeaderItem(column)->text() != header) continue;
      const QTableWidgetItem* item = list->item(row, column);
      return item != nullptr ? item->text() : QStringLiteral("<none>");
    }
    return QStringLiteral("<no column>");
  }
  static QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items.push_back(combo.itemText(i));
    return items;
  }
  QTableWidget* Gateways() { return Control<QTableWidget>(nvsPage, "1056"); }
  QListWidget* GatewayList() { return Control<QListWidget>(nodPage, "1058"); }
  QTableWidget* Nodes() { return Control<QTableWidget>(nodPage, "1059"); }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  FakeApi api;
  CDemoDlg dialog;
  CNVSInfoPage* nvsPage = dynamic_cast<CNVSInfoPage*>(dialog.FindPage("CNVSInfoPage"));
  CNodInfoPage* nodPage = dynamic_cast<CNodInfoPage*>(dialog.FindPage("CNodInfoPage"));
  fs::path folder;
};

TEST_F(InfoPagesTest, GatewayPageShowsEveryGatewayFile) {
  WriteStandardFiles();
  Control<QPushButton>(nvsPage, "1057")->click();
  QTableWidget* list = Gateways();
  ASSERT_EQ(list->columnCount(), 22);
  const QStringList headers = {"serverip", "serverport", "nvsip", "nvsid", "flag", "name", "nvsmodel", "nvsver",
                               "online", "adminread", "alarm", "user", "dx", "dy", "address", "usermobile",
                               "codec", "width", "height", "fps", "extdata", "updatetime"};
  for (int column = 0; column < 22; ++column) {
    EXPECT_EQ(list->horizontalHeaderItem(column)->text(), headers[column]);
    EXPECT_EQ(list->columnWidth(column), 70);
  }
  ASSERT_EQ(list->rowCount(), 2);
  EXPECT_EQ(Cell(list, 0, "nvsid"), "1000001");
  EXPECT_EQ(Cell(list, 0, "name"), "Lab gateway");
  EXPECT_EQ(Cell(list, 1, "nvsid"), "2000002");
  EXPECT_EQ(Cell(list, 0, "serverip"), "127.0.0.7");
  EXPECT_EQ(Cell(list, 0, "codec"), "mpeg4");
  EXPECT_EQ(Cell(list, 0, "width"), "720");
  EXPECT_EQ(Cell(list, 0, "fps"), "13");
  EXPECT_EQ(Cell(list, 0, "updatetime"), "2024-05-06 07:08:10");
  EXPECT_EQ(Cell(list, 0, "nvsip"), "");
  EXPECT_EQ(Cell(list, 0, "extdata"), "");  // not in the file
  EXPECT_TRUE(ui.messages.isEmpty());
  // A second press shows the files again, not twice.
  Control<QPushButton>(nvsPage, "1057")->click();
  EXPECT_EQ(list->rowCount(), 2);
}

TEST_F(InfoPagesTest, AGatewayWhoseFileDoesNotLoadHasNoRow) {
  WriteStandardFiles();
  fs::remove(folder / "nvs_1000001.xml");
  Control<QPushButton>(nvsPage, "1057")->click();
  ASSERT_EQ(Gateways()->rowCount(), 1);
  EXPECT_EQ(Cell(Gateways(), 0, "nvsid"), "2000002");
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(ui.messages[0].startsWith(QStringLiteral("Can not open XML file!:\n"))) << ui.messages[0].toStdString();
}

TEST_F(InfoPagesTest, WithoutAGatewayListNothingIsShown) {
  Control<QPushButton>(nvsPage, "1057")->click();
  EXPECT_EQ(Gateways()->rowCount(), 0);
  EXPECT_EQ(ui.messages.size(), 1);
  int count = -5;
  std::string updateTime = "kept";
  std::vector<NvsListRecord> records;
  EXPECT_EQ(CNvsXmlReader::ReadNvsList(theApp.m_strXmlPath, count, updateTime, records), -1);
  EXPECT_EQ(count, -5);
  EXPECT_TRUE(records.empty());
}

TEST_F(InfoPagesTest, ListReaderTakesEveryField) {
  const std::string longName(40, 'n');
  Write("nvs_list.xml", NvsListXml({{1000001, "实验网关", 1}, {-1294967296, longName, 0}}));
  int count = 0;
  std::string updateTime;
  std::vector<NvsListRecord> records;
  ASSERT_EQ(CNvsXmlReader::ReadNvsList(theApp.m_strXmlPath, count, updateTime, records), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(updateTime, "2024-05-06 07:08:09");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].nvsid, 1000001);
  EXPECT_EQ(records[0].name, "实验网关");
  EXPECT_EQ(records[0].online, 1);
  EXPECT_EQ(records[0].alarm, 0);
  EXPECT_EQ(records[0].adminread, 1);
  EXPECT_EQ(records[1].name, longName);
  // An id beyond the signed range names its file without a sign.
  EXPECT_EQ(CNvsXmlReader::NvsFilePath("/x/", static_cast<std::uint32_t>(records[1].nvsid)), "/x/nvs_3000000000.xml");
}

TEST_F(InfoPagesTest, NodePageListsGatewaysOnceAndAsksForTheirNodes) {
  WriteStandardFiles();
  QComboBox& videoNvs = dialog.VideoNvsCombo();
  Control<QPushButton>(nodPage, "1060")->click();
  EXPECT_EQ(videoNvs.currentIndex(), -1);
  videoNvs.setCurrentIndex(1);
  Control<QPushButton>(nodPage, "1060")->click();
  ASSERT_EQ(GatewayList()->count(), 2);
  EXPECT_EQ(GatewayList()->item(0)->text(), QStringLiteral("Lab gateway"));
  EXPECT_EQ(GatewayList()->item(1)->data(Qt::UserRole).toUInt(), 2000002u);
  EXPECT_EQ(Items(videoNvs),
            (QStringList{QStringLiteral("Lab gateway(Online)"), QStringLiteral("Store gateway(Offline)")}));
  EXPECT_EQ(videoNvs.currentData().toUInt(), 2000002u);
  // Without a session the library refuses, and the lists are filled all the same.
  EXPECT_EQ(FakeApi::CallsOf("CM_QueryNodesStatusOfNVS"),
            (std::vector<RecordedCall>{{"CM_QueryNodesStatusOfNVS", {0, 1000001}},
                                       {"CM_QueryNodesStatusOfNVS", {0, 2000002}},
                                       {"CM_QueryNodesStatusOfNVS", {0, 1000001}},
                                       {"CM_QueryNodesStatusOfNVS", {0, 2000002}}}));
  EXPECT_TRUE(video.calls->empty());
}

TEST_F(InfoPagesTest, ChoosingAGatewayShowsItsNodesInKeyOrder) {
  WriteStandardFiles();
  Control<QPushButton>(nodPage, "1060")->click();
  GatewayList()->setCurrentRow(0);
  EXPECT_EQ(theApp.NodeTarget.nvsid, 1000001u);
  EXPECT_EQ(Items(dialog.NvsCombo()), QStringList{QStringLiteral("1000001")});
  EXPECT_EQ(dialog.NvsCombo().currentIndex(), 0);
  EXPECT_EQ(dialog.NvsCombo().currentData().toUInt(), 1000001u);
  ASSERT_EQ(Nodes()->columnCount(), 14);
  EXPECT_EQ(Nodes()->horizontalHeaderItem(13)->text(), QStringLiteral("updatetime"));
  ASSERT_EQ(Nodes()->rowCount(), 2);
  EXPECT_EQ(Cell(Nodes(), 0, "nodeaddr"), "2");
  EXPECT_EQ(Cell(Nodes(), 0, "name"), "Hall lamp");
  EXPECT_EQ(Cell(Nodes(), 1, "nodeaddr"), "3");
  EXPECT_EQ(Cell(Nodes(), 1, "cmdtext"), "");
  // The gateway is chosen, not played: the video views are not touched.
  EXPECT_TRUE(video.calls->empty());
  // Chosen again: no second item.
  GatewayList()->setCurrentRow(1);
  GatewayList()->setCurrentRow(0);
  EXPECT_EQ(Items(dialog.NvsCombo()), (QStringList{QStringLiteral("1000001"), QStringLiteral("2000002")}));
}

TEST_F(InfoPagesTest, ClickingANodeMakesItTheTarget) {
  WriteStandardFiles();
  Control<QPushButton>(nodPage, "1060")->click();
  GatewayList()->setCurrentRow(1);
  ASSERT_EQ(Nodes()->rowCount(), 1);
  nodPage->OnClickNodeList(0, 3);
  EXPECT_EQ(theApp.NodeTarget.nvsid, 2000002u);
  EXPECT_EQ(theApp.NodeTarget.netid, 1u);
  EXPECT_EQ(theApp.NodeTarget.nodeaddr, 5u);
  EXPECT_EQ(dialog.NetCombo().currentText(), QStringLiteral("1"));
  EXPECT_EQ(dialog.NetCombo().currentData().toUInt(), 1u);
  EXPECT_EQ(dialog.NodCombo().currentText(), QStringLiteral("5"));
  EXPECT_EQ(dialog.NvsCombo().currentText(), QStringLiteral("2000002"));

  // A click outside the rows, or with no gateway chosen, changes nothing.
  theApp.NodeTarget = NodeTargetInfo{};
  nodPage->OnClickNodeList(-1, 0);
  nodPage->OnClickNodeList(1, 0);
  GatewayList()->setCurrentRow(-1);
  ASSERT_EQ(Nodes()->rowCount(), 1);
  nodPage->OnClickNodeList(0, 0);
  EXPECT_EQ(theApp.NodeTarget.nvsid, 0u);
  EXPECT_EQ(theApp.NodeTarget.nodeaddr, 0u);
}

TEST_F(InfoPagesTest, NodeKeysKeepTheirOrderBeyondSixteenBits) {
  Write("nvs_7.xml", NvsFileXml(7, "g", {{"40000", "1", "far"},
                                         {"1", "2", "first"},
                                         {"0", "65536", "wide"},
                                         {"1", "0", "zero"},
                                         {"1", "2", "second"}}));
  int count = 0;
  int check = 0;
  NodeMap nodes;
  ASSERT_EQ(CNvsXmlReader::ReadNvsNodes(theApp.m_strXmlPath, 7, count, check, nodes), 0);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(check, 42);
  std::vector<std::string> names;
  for (const auto& [key, texts] : nodes) names.push_back(texts.at("name"));
  EXPECT_EQ(names, (std::vector<std::string>{"wide", "zero", "second", "far"}));
}

TEST_F(InfoPagesTest, NodeElementReader) {
  Write("nvs_7.xml", NvsFileXml(7, "g", {{"1", "2", "lamp"}}));
  std::string text = "old";
  EXPECT_EQ(CNvsXmlReader::ReadNodeElement(theApp.m_strXmlPath, 7, 1, 2, "name", text), 0);
  EXPECT_EQ(text, "lamp");
  EXPECT_EQ(CNvsXmlReader::ReadNodeElement(theApp.m_strXmlPath, 7, 1, 3, "name", text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(CNvsXmlReader::ReadNodeElement(theApp.m_strXmlPath, 7, 1, 2, "missing", text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(CNvsXmlReader::ReadNodeElement(theApp.m_strXmlPath, 8, 1, 2, "name", text), -1);
  EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(InfoPagesTest, NamesInOtherScriptsAndLongNamesAreShownWhole) {
  const std::string longName = "Gateway-" + std::string(32, 'x');
  Write("nvs_list.xml", NvsListXml({{11, "实验网关", 1}, {12, longName, 1}}));
  Write("nvs_11.xml", NvsFileXml(11, "实验网关", {{"1", "1", "灯"}}));
  Write("nvs_12.xml", NvsFileXml(12, longName, {}));
  Control<QPushButton>(nodPage, "1060")->click();
  EXPECT_EQ(GatewayList()->item(0)->text(), QStringLiteral("实验网关"));
  EXPECT_EQ(GatewayList()->item(1)->text(), QString::fromStdString(longName));
  GatewayList()->setCurrentRow(0);
  EXPECT_EQ(Cell(Nodes(), 0, "name"), QStringLiteral("灯"));
  Control<QPushButton>(nvsPage, "1057")->click();
  EXPECT_EQ(Cell(Gateways(), 1, "name"), QString::fromStdString(longName));
}

}  // namespace
