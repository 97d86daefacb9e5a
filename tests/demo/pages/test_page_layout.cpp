// Every page of the page table shown in the main dialog, on a screen of
// 1280 x 1024: every control can be reached (inside the page area, or inside
// it once the page is scrolled to it), every list shows at least three rows,
// every edit has room for the widest value of its kind, and every caption is
// shown whole. At the size the dialog opens with no page scrolls; in a
// smaller dialog the pages scroll and keep all of this.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>

#include "demo/pages/page_kit.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/page_table.h"
#include "tests/demo/demo_fakes.h"

namespace {

constexpr int kLeastListRows = 3;

// Puts into the edit's value the widest value of its kind (the widest text
// the page names for a text), which the page's data exchange then shows.
void PutWidestValue(KitPage& page, const ControlRow& row) {
  switch (row.value) {
    case ValueKind::kInt:
      page.Int(row.id) = std::numeric_limits<int>::min();
      break;
    case ValueKind::kUInt:
      page.UInt(row.id) = std::numeric_limits<std::uint32_t>::max();
      break;
    case ValueKind::kUInt64:
      page.UInt64(row.id) = std::numeric_limits<std::uint64_t>::max();
      break;
    case ValueKind::kFloat:
      page.Float(row.id) = -1.23456e-38F;
      break;
    case ValueKind::kDouble:
      page.Double(row.id) = -1.23456789012345e-300;
      break;
    case ValueKind::kText:
      page.TextValue(row.id) = row.widest;
      break;
    case ValueKind::kNone:
      break;
  }
}

// The edits of a kit page that show a value of a kind, or a text whose
// widest form the page names.
std::vector<const ControlRow*> ValueEdits(const KitPage& page) {
  std::vector<const ControlRow*> edits;
  for (QLineEdit* edit : page.findChildren<QLineEdit*>()) {
    const ControlRow* row = page.ControlOf(edit->objectName().toInt());
    if (row == nullptr || row->kind != ControlKind::kEdit || row->value == ValueKind::kNone) continue;
    if (row->value == ValueKind::kText && row->widest.empty()) continue;
    edits.push_back(row);
  }
  return edits;
}

std::string Name(const QWidget* widget) {
  const QString id = widget->objectName();
  const QString kind = QString::fromLatin1(widget->metaObject()->className());
  return (id.isEmpty() ? kind : kind + " " + id).toStdString();
}

// Widgets inside these belong to them (an editable combo box's edit, a
// list's headers and scroll bars) and are looked at with them.
bool PartOfAnotherControl(const QWidget* widget, const QWidget* page) {
  for (const QWidget* up = widget->parentWidget(); up != nullptr && up != page; up = up->parentWidget()) {
    if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QAbstractSpinBox*>(up) ||
        qobject_cast<const QAbstractScrollArea*>(up))
      return true;
  }
  return false;
}

bool IsControl(const QWidget* widget) {
  return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
         qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
         qobject_cast<const QLabel*>(widget) || qobject_cast<const QGroupBox*>(widget) ||
         qobject_cast<const QAbstractSlider*>(widget) || qobject_cast<const QProgressBar*>(widget) ||
         qobject_cast<const QAbstractSpinBox*>(widget);
}

int TextWidth(const QWidget& widget, const QString& text) {
  return widget.fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

// Room for an edit's text without scrolling it: the style's contents
// rectangle less the text margins and the 2 pixels the edit keeps on either
// side, less a pixel after the text and one for the cursor.
int TextRoomOf(const QLineEdit& edit) {
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.rect = edit.contentsRect();
  option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  option.features = QStyleOptionFrame::None;
  const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
  const QMargins margins = edit.textMargins();
  return contents.width() - margins.left() - margins.right() - 2 * 2 - 2;
}

// Where a button, check box or radio button draws its caption.
int CaptionRoomOf(const QAbstractButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  option.icon = button.icon();
  option.iconSize = button.iconSize();
  QStyle::SubElement element = QStyle::SE_PushButtonContents;
  if (qobject_cast<const QCheckBox*>(&button)) element = QStyle::SE_CheckBoxContents;
  if (qobject_cast<const QRadioButton*>(&button)) element = QStyle::SE_RadioButtonContents;
  return button.style()->subElementRect(element, &option, &button).width();
}

QRect TitleRectOf(const QGroupBox& box) {
  QStyleOptionGroupBox option;
  option.initFrom(&box);
  option.text = box.title();
  option.lineWidth = 1;
  option.midLineWidth = 0;
  option.textAlignment = box.alignment();
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  option.features = box.isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
  return box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
}

// Rows a list shows whole in its viewport.
int VisibleRows(QAbstractItemView& view) {
  int rowHeight = 0;
  if (auto* table = qobject_cast<QTableView*>(&view)) {
    rowHeight = table->verticalHeader()->defaultSectionSize();
  } else if (auto* list = qobject_cast<QListWidget*>(&view)) {
    // A line of the list's font, measured on a line put in for the purpose.
    const auto probe = std::make_unique<QListWidgetItem>(QStringLiteral("0"));
    list->addItem(probe.get());
    rowHeight = list->sizeHintForRow(list->row(probe.get()));
    list->takeItem(list->row(probe.get()));
  }
  return rowHeight > 0 ? view.viewport()->height() / rowHeight : 0;
}

QScrollArea* ScrollerOf(QWidget& page) {
  for (QWidget* up = page.parentWidget(); up != nullptr; up = up->parentWidget()) {
    if (auto* scroller = qobject_cast<QScrollArea*>(up)) return scroller;
  }
  return nullptr;
}

enum class Scrolling { kNone, kAllowed };

// What is wrong with the page as shown, one text per fault.
std::vector<std::string> FaultsOf(CPropertyPage& page, CDemoDlg& dialog, Scrolling scrolling) {
  std::vector<std::string> faults;
  QScrollArea* scroller = ScrollerOf(page);
  QWidget* area = scroller != nullptr ? scroller->viewport() : page.parentWidget();
  const QRect areaInDialog(area->mapTo(&dialog, QPoint()), area->size());
  if (!dialog.rect().contains(areaInDialog)) faults.push_back("the page area lies outside the dialog");
  if (scroller != nullptr && scrolling == Scrolling::kNone) {
    if (scroller->verticalScrollBar()->maximum() > 0) faults.push_back("the page scrolls vertically");
    if (scroller->horizontalScrollBar()->maximum() > 0) faults.push_back("the page scrolls horizontally");
  }
  for (QWidget* widget : page.findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(&page) || !IsControl(widget) || PartOfAnotherControl(widget, &page)) continue;
    const std::string name = Name(widget);
    if (widget->width() <= 0 || widget->height() <= 0) {
      faults.push_back(name + " has no size");
      continue;
    }
    if (scroller != nullptr && (widget->width() > area->width() || widget->height() > area->height())) {
      // Larger than the area: every part of it is reached by scrolling when
      // it lies on the page.
      if (!page.rect().contains(QRect(widget->mapTo(&page, QPoint()), widget->size())))
        faults.push_back(name + " lies outside its page");
    } else {
      if (scroller != nullptr) {
        // The whole control, not only its cursor as ensureWidgetVisible() would.
        const QRect onPage(widget->mapTo(scroller->widget(), QPoint()), widget->size());
        scroller->ensureVisible(onPage.center().x(), onPage.center().y(), onPage.width() / 2 + 1,
                                onPage.height() / 2 + 1);
      }
      const QRect shown(widget->mapTo(area, QPoint()), widget->size());
      if (!area->rect().contains(shown)) faults.push_back(name + " cannot be brought into the page area");
    }
    for (QWidget* up = widget->parentWidget(); up != &page && up != nullptr; up = up->parentWidget()) {
      if (!up->rect().contains(QRect(widget->mapTo(up, QPoint()), widget->size())))
        faults.push_back(name + " is cut by " + Name(up));
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
      const int rows = VisibleRows(*view);
      if (rows < kLeastListRows) faults.push_back(name + " shows " + std::to_string(rows) + " rows");
    }
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && !label->wordWrap()) {
      for (const QString& line : label->text().split(QLatin1Char('\n'))) {
        if (label->contentsRect().width() < TextWidth(*label, line))
          faults.push_back(name + " cuts \"" + line.toStdString() + "\"");
      }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button != nullptr && !button->text().isEmpty()) {
      if (CaptionRoomOf(*button) < TextWidth(*button, button->text()))
        faults.push_back(name + " cuts \"" + button->text().toStdString() + "\"");
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget); box != nullptr && !box->title().isEmpty()) {
      const QRect title = TitleRectOf(*box);
      if (!box->rect().contains(title) || title.width() < TextWidth(*box, box->title()))
        faults.push_back(name + " cuts \"" + box->title().toStdString() + "\"");
    }
  }
  if (auto* kit = dynamic_cast<KitPage*>(&page)) {
    // The widest values shown for a moment, then the page's own again.
    const std::vector<const ControlRow*> edits = ValueEdits(*kit);
    std::vector<PageValue> own;
    for (const ControlRow* row : edits) {
      own.push_back(kit->Value(row->id));
      PutWidestValue(*kit, *row);
    }
    kit->ShowAllValues();
    for (const ControlRow* row : edits) {
      const auto* edit = qobject_cast<const QLineEdit*>(kit->Widget(row->id));
      const int needed = TextWidth(*edit, edit->text());
      if (TextRoomOf(*edit) < needed)
        faults.push_back(Name(edit) + " has " + std::to_string(TextRoomOf(*edit)) + " px for \"" +
                         edit->text().toStdString() + "\" (" + std::to_string(needed) + " px)");
    }
    for (std::size_t i = 0; i < edits.size(); ++i) kit->MutableValue(edits[i]->id) = own[i];
    kit->ShowAllValues();
  }
  return faults;
}

// Shows every page of the table in turn and reports its faults.
void ExpectEveryPageWhole(CDemoDlg& dialog, Scrolling scrolling) {
  for (const PageRow& row : kPageTable) {
    CPropertyPage* page = dialog.FindPage(row.className);
    ASSERT_NE(page, nullptr) << row.className;
    ASSERT_TRUE(dialog.Sheet().SetActivePage(page)) << row.className;
    QApplication::processEvents();
    std::string report;
    for (const std::string& fault : FaultsOf(*page, dialog, scrolling)) report += "\n  " + fault;
    EXPECT_TRUE(report.empty()) << row.className << ":" << report;
  }
}

TEST(PageLayout, EveryPageHasRoomForEveryControlAtTheDefaultSize) {
  demotest::AppStateGuard state;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  dialog.show();
  QApplication::processEvents();
  const QRect screen = dialog.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(dialog.frameGeometry()))
      << dialog.frameGeometry().width() << " x " << dialog.frameGeometry().height() << " on " << screen.width()
      << " x " << screen.height();
  ExpectEveryPageWhole(dialog, Scrolling::kNone);
}

// Made smaller than the tallest pages need (1000 x 720, where the lists of
// such a page used to be squeezed to their headings), the dialog scrolls its
// pages in the page area and squeezes none of their controls.
TEST(PageLayout, InASmallerDialogThePagesScrollAndKeepTheirRoom) {
  demotest::AppStateGuard state;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  dialog.show();
  dialog.resize(1000, 720);
  QApplication::processEvents();
  ExpectEveryPageWhole(dialog, Scrolling::kAllowed);
}

}  // namespace
