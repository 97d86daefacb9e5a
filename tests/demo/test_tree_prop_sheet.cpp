// The tree property sheet: the tree built from captions, navigation, pages
// that refuse to be left, settings and the caption bar.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <QApplication>
#include <QGridLayout>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include "demo/shell/tree_prop_sheet.h"

namespace {

class RecordingPage : public CPropertyPage {
 public:
  using CPropertyPage::CPropertyPage;
  void OnInitDialog() override { ++initCount; }
  bool OnKillActive() override {
    ++killCount;
    return mayLeave;
  }
  int initCount = 0;
  int killCount = 0;
  bool mayLeave = true;
};

QIcon Solid(const QColor& color) {
  QPixmap pixmap(16, 16);
  pixmap.fill(color);
  return QIcon(pixmap);
}

class SheetTest : public ::testing::Test {
 protected:
  RecordingPage& Add(const char* caption, int id = 0) {
    pages.push_back(std::make_unique<RecordingPage>(QString::fromUtf8(caption), id));
    sheet.AddPage(pages.back().get());
    return *pages.back();
  }
  void Create() {
    ASSERT_TRUE(sheet.Create());
    sheet.resize(600, 400);
    sheet.show();
    QApplication::processEvents();
  }
  QTreeWidget& Tree() { return *sheet.GetPageTreeControl(); }
  QTreeWidgetItem* Root(int i) { return Tree().topLevelItem(i); }
  static int Data(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toInt(); }
  QString Current() { return Tree().currentItem() ? Tree().currentItem()->text(0) : QString(); }
  bool PageAreaVisible() { return sheet.findChild<QStackedWidget*>(QStringLiteral("PageArea"))->isVisible(); }

  std::vector<std::unique_ptr<RecordingPage>> pages;
  CTreePropSheet sheet;
};

TEST_F(SheetTest, CategoryPageBecomesTheNodeOfItsChildren) {
  Add("家用电器");
  Add("家用电器::电视");
  Add("家用电器::DVD");
  Create();
  ASSERT_EQ(Tree().topLevelItemCount(), 1);
  QTreeWidgetItem* root = Root(0);
  EXPECT_EQ(root->text(0), QStringLiteral("家用电器"));
  EXPECT_EQ(Data(root), 0);
  ASSERT_EQ(root->childCount(), 2);
  EXPECT_EQ(root->child(0)->text(0), QStringLiteral("电视"));
  EXPECT_EQ(Data(root->child(0)), 1);
  EXPECT_EQ(root->child(1)->text(0), QStringLiteral("DVD"));
  EXPECT_EQ(Data(root->child(1)), 2);
  EXPECT_EQ(Current(), QStringLiteral("家用电器"));
}

TEST_F(SheetTest, NodeWithoutPageShowsTheEmptyPageMessage) {
  Add("P");
  Add("A::B");
  ASSERT_TRUE(sheet.SetEmptyPageText(QStringLiteral("no page: %s")));
  Create();
  ASSERT_EQ(Tree().topLevelItemCount(), 2);
  QTreeWidgetItem* node = Root(1);
  EXPECT_EQ(node->text(0), QStringLiteral("A"));
  EXPECT_EQ(Data(node), -1);
  EXPECT_EQ(Data(node->child(0)), 1);

  Tree().setCurrentItem(node);
  EXPECT_FALSE(PageAreaVisible());
  EXPECT_EQ(sheet.GetFrame()->GetMsgText(), QStringLiteral("no page: A"));
  EXPECT_EQ(pages[0]->killCount, 1);

  Tree().setCurrentItem(node->child(0));
  EXPECT_TRUE(PageAreaVisible());
  EXPECT_EQ(sheet.GetActivePage(), pages[1].get());
}

TEST_F(SheetTest, EmptyPageMessageTakesOnlyTheFirstConversion) {
  Add("A::B");
  ASSERT_TRUE(sheet.SetEmptyPageText(QStringLiteral("%d %s %s %n")));
  Create();
  Tree().setCurrentItem(Root(0));
  EXPECT_EQ(sheet.GetFrame()->GetMsgText(), QStringLiteral("%d A %s %n"));
}

TEST_F(SheetTest, EscapedAndDegenerateCaptions) {
  Add("X\\::Y");
  Add("Z\\\\::Y");
  Add("::A");
  Add("A::");
  Add("::");
  Create();
  ASSERT_EQ(Tree().topLevelItemCount(), 4);
  EXPECT_EQ(Root(0)->text(0), QStringLiteral("X::Y"));
  EXPECT_EQ(Root(0)->childCount(), 0);
  EXPECT_EQ(Root(1)->text(0), QStringLiteral("Z\\"));
  ASSERT_EQ(Root(1)->childCount(), 1);
  EXPECT_EQ(Root(1)->child(0)->text(0), QStringLiteral("Y"));
  // "::A" and "::" share the node with the empty text; "A::" is "A".
  EXPECT_EQ(Root(2)->text(0), QString());
  EXPECT_EQ(Data(Root(2)), 4);
  ASSERT_EQ(Root(2)->childCount(), 1);
  EXPECT_EQ(Data(Root(2)->child(0)), 2);
  EXPECT_EQ(Root(3)->text(0), QStringLiteral("A"));
  EXPECT_EQ(Data(Root(3)), 3);
}

TEST_F(SheetTest, CtrlTabWrapsAroundTheTree) {
  Add("A");
  Add("A::A1");
  Add("B");
  Add("B::B1");
  Add("B::B1::B11");
  Create();
  Tree().setCurrentItem(Root(1)->child(0)->child(0));
  ASSERT_EQ(Current(), QStringLiteral("B11"));
  QTest::keyClick(&Tree(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Current(), QStringLiteral("A"));
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  QTest::keyClick(&Tree(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Current(), QStringLiteral("A1"));

  Tree().setCurrentItem(Root(0));
  QTest::keyClick(&Tree(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Current(), QStringLiteral("B11"));
  EXPECT_EQ(sheet.GetActiveIndex(), 4);
  QTest::keyClick(&Tree(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Current(), QStringLiteral("B1"));

  // From inside a page too.
  QTest::keyClick(pages[3].get(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Current(), QStringLiteral("B11"));
}

TEST_F(SheetTest, PageThatRefusesToBeLeftKeepsTheSelection) {
  RecordingPage& first = Add("A");
  Add("B");
  Add("C::D");
  Create();
  first.mayLeave = false;
  Tree().setCurrentItem(Root(1));
  EXPECT_EQ(Current(), QStringLiteral("A"));
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  EXPECT_TRUE(PageAreaVisible());
  EXPECT_EQ(first.killCount, 1);

  // Nor to a node without a page, nor by index.
  Tree().setCurrentItem(Root(2));
  EXPECT_EQ(Current(), QStringLiteral("A"));
  EXPECT_FALSE(sheet.SetActivePage(1));
  EXPECT_EQ(Current(), QStringLiteral("A"));
  EXPECT_EQ(first.killCount, 3);

  first.mayLeave = true;
  Tree().setCurrentItem(Root(1));
  EXPECT_EQ(Current(), QStringLiteral("B"));
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
}

TEST_F(SheetTest, PagesAreInitialisedOnTheirFirstActivation) {
  RecordingPage& a = Add("A");
  RecordingPage& b = Add("B");
  EXPECT_FALSE(a.IsCreated());
  Create();
  EXPECT_TRUE(a.IsCreated());
  EXPECT_EQ(a.initCount, 1);
  EXPECT_FALSE(b.IsCreated());
  Tree().setCurrentItem(Root(1));
  Tree().setCurrentItem(Root(0));
  Tree().setCurrentItem(Root(1));
  EXPECT_TRUE(b.IsCreated());
  EXPECT_EQ(b.initCount, 1);
  EXPECT_EQ(a.initCount, 1);
}

TEST_F(SheetTest, SettingsAreRefusedOnceCreated) {
  Add("A");
  EXPECT_FALSE(sheet.SetTreeDefaultImages({Solid(Qt::red)}));
  EXPECT_FALSE(sheet.SetTreeDefaultImages({Solid(Qt::red), Solid(Qt::green), Solid(Qt::blue)}));
  EXPECT_TRUE(sheet.SetTreeWidth(200));
  Create();
  EXPECT_FALSE(sheet.SetTreeViewMode(false));
  EXPECT_FALSE(sheet.SetTreeWidth(300));
  EXPECT_FALSE(sheet.SetEmptyPageText(QStringLiteral("x")));
  EXPECT_TRUE(sheet.IsTreeViewMode());
  EXPECT_EQ(sheet.TreeWidth(), 200);
  EXPECT_EQ(Tree().width(), 195);
}

TEST_F(SheetTest, TreeImagesComeFromPageIconsAndDefaults) {
  ASSERT_TRUE(sheet.SetTreeViewMode(true, true, true));
  ASSERT_TRUE(sheet.SetTreeDefaultImages({Solid(Qt::red), Solid(Qt::green)}));
  RecordingPage& own = Add("N::Own");
  Add("N::Plain");
  ASSERT_TRUE(sheet.SetPageIcon(&own, Solid(Qt::blue)));
  EXPECT_FALSE(sheet.SetPageIcon(&own, QIcon()));
  Create();
  auto colour = [](const QTreeWidgetItem* item) { return item->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8); };
  EXPECT_EQ(colour(Root(0)), QColor(Qt::red));
  EXPECT_EQ(colour(Root(0)->child(0)), QColor(Qt::blue));
  EXPECT_EQ(colour(Root(0)->child(1)), QColor(Qt::green));
  EXPECT_TRUE(sheet.DestroyPageIcon(&own));
  EXPECT_FALSE(sheet.DestroyPageIcon(&own));
}

TEST_F(SheetTest, RemovingTheCurrentPageShowsThePageAtItsPlace) {
  Add("A");
  Add("B");
  Add("C");
  Create();
  ASSERT_TRUE(sheet.SetActivePage(1));
  sheet.RemovePage(1);
  EXPECT_EQ(sheet.GetPageCount(), 2);
  EXPECT_EQ(sheet.GetActivePage(), pages[2].get());
  EXPECT_EQ(Current(), QStringLiteral("C"));
  EXPECT_EQ(Data(Tree().currentItem()), 1);
  sheet.RemovePage(1);
  EXPECT_EQ(sheet.GetActivePage(), pages[0].get());
  // The removed pages are the caller's again, out of the sheet.
  EXPECT_EQ(pages[1]->parentWidget(), nullptr);
  EXPECT_EQ(pages[2]->parentWidget(), nullptr);
}

TEST_F(SheetTest, APageLargerThanThePageAreaScrollsInsteadOfShrinking) {
  RecordingPage& small = Add("small");
  RecordingPage& large = Add("large");
  // The large page needs more than the 600 x 400 sheet leaves it.
  auto* layout = new QGridLayout(&large);
  auto* first = new QPushButton(QStringLiteral("first"));
  auto* last = new QPushButton(QStringLiteral("last"));
  layout->addWidget(first, 0, 0);
  layout->addWidget(last, 2, 2);
  layout->setRowMinimumHeight(1, 700);
  layout->setColumnMinimumWidth(1, 800);
  Create();
  auto* scroller = qobject_cast<QScrollArea*>(small.parentWidget()->parentWidget());
  ASSERT_NE(scroller, nullptr);
  EXPECT_EQ(scroller->verticalScrollBar()->maximum(), 0);

  ASSERT_TRUE(sheet.SetActivePage(1));
  QApplication::processEvents();
  scroller = qobject_cast<QScrollArea*>(large.parentWidget()->parentWidget());
  ASSERT_NE(scroller, nullptr);
  EXPECT_GE(large.height(), layout->minimumSize().height());
  EXPECT_GE(large.width(), layout->minimumSize().width());
  EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);
  EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
  QWidget* area = scroller->viewport();
  for (QPushButton* button : {last, first}) {
    scroller->ensureWidgetVisible(button, 0, 0);
    EXPECT_TRUE(area->rect().contains(QRect(button->mapTo(area, QPoint()), button->size())))
        << button->text().toStdString();
  }
}

TEST_F(SheetTest, CaptionBarShowsTheItemWithAGradient) {
  ASSERT_TRUE(sheet.SetTreeViewMode(true, true, false));
  Add("家用电器");
  Add("家用电器::电视");
  Create();
  CPageFrame* frame = sheet.GetFrame();
  EXPECT_EQ(frame->GetCaption(), QStringLiteral("家用电器"));
  ASSERT_TRUE(sheet.SetActivePage(1));
  EXPECT_EQ(frame->GetCaption(), QStringLiteral("电视"));
  ASSERT_GT(frame->GetCaptionHeight(), 0);

  const QImage image = frame->GetWnd()->grab().toImage();
  const int y = frame->GetCaptionHeight() / 2;
  const QColor left = image.pixelColor(0, y);
  const QColor right = image.pixelColor(image.width() - 1, y);
  const QColor start = CPageFrameWnd::InactiveCaptionColor();
  EXPECT_NEAR(left.red(), start.red(), 2);
  EXPECT_NEAR(left.green(), start.green(), 2);
  EXPECT_NEAR(left.blue(), start.blue(), 2);
  EXPECT_GT(std::abs(left.red() - right.red()) + std::abs(left.blue() - right.blue()), 20);
  // The page area starts below the caption bar.
  const auto* area = sheet.findChild<QStackedWidget*>(QStringLiteral("PageArea"));
  EXPECT_GT(area->geometry().top(), frame->GetCaptionHeight() - 1);
}

TEST_F(SheetTest, TabModeSwitchesWithTheTabs) {
  ASSERT_TRUE(sheet.SetTreeViewMode(false, true, true));
  RecordingPage& a = Add("A");
  Add("B");
  Create();
  EXPECT_EQ(sheet.GetPageTreeControl(), nullptr);
  auto* tabs = sheet.findChild<QTabBar*>(QStringLiteral("PageTabs"));
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 2);
  a.mayLeave = false;
  tabs->setCurrentIndex(1);
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  EXPECT_EQ(tabs->currentIndex(), 0);
  a.mayLeave = true;
  QTest::keyClick(&a, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(sheet.GetActiveIndex(), 1);
  EXPECT_EQ(tabs->currentIndex(), 1);
}

}  // namespace
