// The main dialog: its page tree, the log, the target combo boxes with the
// video views, the window notifications and the about box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "demo/shell/demo_dlg.h"
#include "demo/shell/page_table.h"
#include "demo/shell/tree_order.h"
#include "tests/demo/demo_fakes.h"

namespace {

class DemoDlgTest : public ::testing::Test {
 protected:
  DemoDlgTest() {
    dialog.SetLocalClock([] { return TimeOfDay{1, 2, 3, 4}; });
    theApp.m_pMainWnd = &dialog;
    theApp.NodeTarget = NodeTargetInfo{};
  }

  template <typename T>
  T* Control(const char* id) {
    T* control = dialog.findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  QString Log() { return Control<QPlainTextEdit>("1072")->toPlainText(); }
  QTreeWidget& Tree() { return *dialog.Sheet().GetPageTreeControl(); }
  static QString PathOf(const QTreeWidgetItem* item) {
    QString path = item->text(0);
    for (const QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent())
      path = up->text(0) + QStringLiteral("::") + path;
    return path;
  }
  QTreeWidgetItem* ItemByPath(const QString& path) {
    for (QTreeWidgetItem* item = Tree().topLevelItem(0); item != nullptr;) {
      if (PathOf(item) == path) return item;
      QTreeWidgetItem* next = NextTreeItem(Tree(), item);
      if (next == Tree().topLevelItem(0)) break;
      item = next;
    }
    return nullptr;
  }
  void Fill(QComboBox* combo, const std::vector<unsigned>& ids) {
    for (unsigned id : ids) combo->addItem(QString::number(id), id);
  }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  demotest::FakeApi api;
  CDemoDlg dialog;
};

TEST_F(DemoDlgTest, TreeFollowsThePageTable) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("SentrellDemo"));
  ASSERT_EQ(dialog.PageCount(), 53);
  // Every item in display order is the next row of the table and carries
  // that row's page.
  std::vector<QTreeWidgetItem*> items;
  for (QTreeWidgetItem* item = Tree().topLevelItem(0); item != nullptr && items.size() < 60;) {
    items.push_back(item);
    item = NextTreeItem(Tree(), item);
    if (item == Tree().topLevelItem(0)) break;
  }
  ASSERT_EQ(items.size(), kPageTable.size());
  for (std::size_t i = 0; i < kPageTable.size(); ++i) {
    const PageRow& row = kPageTable[i];
    EXPECT_EQ(PathOf(items[i]), QString::fromUtf8(row.caption)) << i;
    EXPECT_EQ(items[i]->data(0, Qt::UserRole).toInt(), static_cast<int>(i)) << row.caption;
    EXPECT_EQ(dialog.Page(static_cast<int>(i))->DialogId(), row.dialogId) << row.caption;
    EXPECT_EQ(dialog.FindPage(row.className), dialog.Page(static_cast<int>(i))) << row.className;
  }
  const std::vector<std::pair<QString, int>> roots = {
      {QStringLiteral("模块初始化"), 0}, {QStringLiteral("NVS信息"), 0},  {QStringLiteral("节点信息"), 0},
      {QStringLiteral("声音"), 0},       {QStringLiteral("视频"), 0},     {QStringLiteral("家用电器"), 7},
      {QStringLiteral("智能家居"), 3},   {QStringLiteral("数据采集"), 12}, {QStringLiteral("实验室"), 12},
      {QStringLiteral("安全防护"), 5},   {QStringLiteral("适配器"), 3},
  };
  ASSERT_EQ(Tree().topLevelItemCount(), static_cast<int>(roots.size()));
  for (int i = 0; i < Tree().topLevelItemCount(); ++i) {
    EXPECT_EQ(Tree().topLevelItem(i)->text(0), roots[static_cast<std::size_t>(i)].first);
    EXPECT_EQ(Tree().topLevelItem(i)->childCount(), roots[static_cast<std::size_t>(i)].second);
  }
  EXPECT_EQ(dialog.FindPage("CPTZPage"), nullptr);
  EXPECT_EQ(dialog.FindPage("CVCRPage"), nullptr);
  EXPECT_EQ(Tree().width(), 175);
}

TEST_F(DemoDlgTest, FirstPageAndSelectionById) {
  CTreePropSheet& sheet = dialog.Sheet();
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  EXPECT_TRUE(dialog.Page(0)->IsCreated());
  EXPECT_FALSE(dialog.Page(1)->IsCreated());
  EXPECT_EQ(sheet.GetFrame()->GetCaption(), QStringLiteral("模块初始化"));

  ASSERT_TRUE(sheet.SetActivePageById(155));
  EXPECT_EQ(sheet.GetActivePage(), dialog.FindPage("CDLockPage"));
  EXPECT_EQ(PathOf(Tree().currentItem()), QStringLiteral("安全防护::门禁"));
  EXPECT_EQ(sheet.GetFrame()->GetCaption(), QStringLiteral("门禁"));
  EXPECT_FALSE(sheet.SetActivePageById(138));
}

TEST_F(DemoDlgTest, TreeOrderAcrossCategories) {
  QTreeWidgetItem* homeCinema = ItemByPath(QStringLiteral("家用电器::家庭影院"));
  QTreeWidgetItem* smartHome = ItemByPath(QStringLiteral("智能家居"));
  ASSERT_NE(homeCinema, nullptr);
  ASSERT_NE(smartHome, nullptr);
  EXPECT_EQ(NextTreeItem(Tree(), homeCinema), smartHome);
  EXPECT_EQ(PreviousTreeItem(Tree(), smartHome), homeCinema);
  EXPECT_EQ(PathOf(PreviousTreeItem(Tree(), Tree().topLevelItem(0))), QStringLiteral("适配器::气象站"));
  EXPECT_EQ(NextTreeItem(Tree(), ItemByPath(QStringLiteral("适配器::气象站"))), Tree().topLevelItem(0));
}

TEST_F(DemoDlgTest, TestButtonLogsNumberedLines) {
  for (int i = 0; i < 3; ++i) QTest::mouseClick(Control<QPushButton>("1073"), Qt::LeftButton);
  EXPECT_EQ(Log(), QStringLiteral(" 1:02:03.004: 000: Add a tip now!\n"
                                  " 1:02:03.004: Variable argument: 100, 123.456000\n"
                                  " 1:02:03.004: 001: Add a tip now!\n"
                                  " 1:02:03.004: Variable argument: 100, 123.456000\n"
                                  " 1:02:03.004: 002: Add a tip now!\n"
                                  " 1:02:03.004: Variable argument: 100, 123.456000\n"));
}

TEST_F(DemoDlgTest, LogAppendsAtTheEnd) {
  EXPECT_EQ(dialog.AppendLog("%s", "first"), 1);
  auto* log = Control<QPlainTextEdit>("1072");
  QTextCursor start(log->document());
  start.movePosition(QTextCursor::Start);
  log->setTextCursor(start);
  EXPECT_EQ(dialog.AppendLogText("second\n"), 1);
  EXPECT_EQ(dialog.AppendLogText("100% %s %n"), 1);
  EXPECT_EQ(dialog.AppendLog("%s", ""), 0);
  EXPECT_EQ(dialog.AppendLogText(""), 0);
  EXPECT_EQ(dialog.AppendResultLog(-1, "CABMGZ", "打开箱子"), 1);
  EXPECT_EQ(Log(), QStringLiteral(" 1:02:03.004: first\n"
                                  " 1:02:03.004: second\n"
                                  " 1:02:03.004: 100% %s %n\n"
                                  " 1:02:03.004: CABMGZ: 打开箱子错误!\n"));
  EXPECT_TRUE(log->isReadOnly());
}

TEST_F(DemoDlgTest, LocaleWithDecimalComma) {
  const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
  const char* chosen = nullptr;
  for (const char* name : locales) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      chosen = name;
      break;
    }
  }
  if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  std::setlocale(LC_NUMERIC, "C");
  dialog.OnTest();
  std::setlocale(LC_ALL, "C");
  EXPECT_TRUE(Log().contains(QStringLiteral("Variable argument: 100, 123.456000")));
}

TEST_F(DemoDlgTest, NvsComboSetsTheTargetAndRestartsTheFirstView) {
  auto* nvs = Control<QComboBox>("1061");
  Fill(nvs, {3, 7});
  Fill(Control<QComboBox>("1220"), {9});
  emit nvs->activated(1);
  EXPECT_EQ(theApp.NodeTarget.nvsid, 7u);
  EXPECT_EQ(*video.calls, (std::vector<std::string>{"1218:StopPlay", "1218:StartPlay(" + theApp.m_strServer + "," +
                                                                         theApp.m_strUser + "," +
                                                                         theApp.m_strPassword + ",7)"}));

  // A selection made by the program restarts nothing.
  video.calls->clear();
  nvs->setCurrentIndex(0);
  EXPECT_TRUE(video.calls->empty());
  EXPECT_EQ(theApp.NodeTarget.nvsid, 7u);
}

TEST_F(DemoDlgTest, NetAndNodeCombosChangeOnlyTheirPart) {
  theApp.NodeTarget = NodeTargetInfo{4, 0, 0};
  auto* net = Control<QComboBox>("1062");
  auto* nod = Control<QComboBox>("1063");
  Fill(net, {1, 2});
  Fill(nod, {10, 11, 12});
  emit net->activated(1);
  EXPECT_EQ(theApp.NodeTarget.nvsid, 4u);
  EXPECT_EQ(theApp.NodeTarget.netid, 2u);
  EXPECT_EQ(theApp.NodeTarget.nodeaddr, 0u);
  emit nod->activated(2);
  EXPECT_EQ(theApp.NodeTarget.netid, 2u);
  EXPECT_EQ(theApp.NodeTarget.nodeaddr, 12u);
  EXPECT_TRUE(video.calls->empty());
}

TEST_F(DemoDlgTest, VideoComboRestartsOnlyTheSecondView) {
  theApp.NodeTarget = NodeTargetInfo{1, 2, 3};
  auto* videoNvs = Control<QComboBox>("1220");
  videoNvs->addItem(QStringLiteral("G1(Online)"), 5u);
  videoNvs->addItem(QStringLiteral("G2(Offline)"), 9u);
  emit videoNvs->activated(1);
  ASSERT_EQ(video.calls->size(), 2u);
  EXPECT_EQ((*video.calls)[0], "1219:StopPlay");
  EXPECT_EQ((*video.calls)[1].rfind("1219:StartPlay(", 0), 0u);
  EXPECT_EQ((*video.calls)[1].substr((*video.calls)[1].size() - 3), ",9)");
  EXPECT_EQ(theApp.NodeTarget.nvsid, 1u);
  EXPECT_EQ(theApp.NodeTarget.netid, 2u);
  EXPECT_EQ(theApp.NodeTarget.nodeaddr, 3u);
}

TEST_F(DemoDlgTest, WindowNotificationsChangeNothing) {
  const QString before = Log();
  const std::string payload = "{\"nvsid\":7}\n";
  PlatWindow window = dialog.NotifyWindowHandle();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(PlatPostMessage(window, NOTIFY_NVSLIST, 0, 0), 1);
  ASSERT_EQ(PlatPostMessage(window, NOTIFY_NODEMSG, reinterpret_cast<uintptr_t>(payload.c_str()),
                            static_cast<intptr_t>(payload.size() + 1)),
            1);
  ASSERT_TRUE(QTest::qWaitFor([] { return PlatPeekMessage(nullptr, 0, 0, 0) == 0; }, 5000));
  EXPECT_EQ(Log(), before);
  EXPECT_EQ(payload, "{\"nvsid\":7}\n");
}

TEST_F(DemoDlgTest, AboutBox) {
  auto* about = dialog.findChild<QAction*>(QStringLiteral("AboutAction"));
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->text(), QStringLiteral("关于 SentrellDemo(&A)..."));
  about->trigger();
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].front(), QStringLiteral("关于 SentrellDemo"));
  EXPECT_TRUE(ui.dialogs[0].contains(QStringLiteral("SentrellDemo 1.0 版")));
  dialog.OnSysCommand(0xF060);
  EXPECT_EQ(ui.dialogs.size(), 1u);
  dialog.OnSysCommand(16 | 0x3);
  EXPECT_EQ(ui.dialogs.size(), 2u);
}

TEST(DemoDlgWithoutVideo, BuildsWhenTheVideoControlCannotBeCreated) {
  demotest::AppStateGuard state;
  demotest::VideoRecorder video(true);
  CDemoDlg dialog;
  EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("1218")), nullptr);
  auto* nvs = dialog.findChild<QComboBox*>(QStringLiteral("1061"));
  nvs->addItem(QStringLiteral("7"), 7u);
  emit nvs->activated(0);
  EXPECT_EQ(theApp.NodeTarget.nvsid, 7u);
}

TEST(DemoDlgPlaceholderVideo, ShippedViewPlaysNothing) {
  demotest::AppStateGuard state;
  CDemoDlg dialog;
  auto* view = dialog.findChild<QLabel*>(QStringLiteral("1218"));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->text(), QStringLiteral("视频控件不可用"));
  CKorvexVideo wrapper;
  QWidget parent;
  ASSERT_TRUE(wrapper.Create(&parent, QStringLiteral("1300")));
  EXPECT_EQ(wrapper.StartPlay("server", "user", "1", 7), 0);
  EXPECT_EQ(wrapper.StopPlay(), 0);
}

}  // namespace
