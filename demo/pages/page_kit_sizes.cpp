#include "demo/pages/page_kit_sizes.h"

#include <algorithm>
#include <memory>

#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

namespace kitsizes {

namespace {

// An edit's own preferred width holds this many 'x'; the rest of it is its
// frame and margins.
constexpr int kEditHintCharacters = 17;
// Pixels above and below the text of a row of a list view.
constexpr int kRowMargin = 4;

}  // namespace

void FitWidthTo(QLineEdit& edit, const QString& widest) {
  if (widest.isEmpty()) return;
  const QFontMetrics metrics = edit.fontMetrics();
  const int chrome = edit.sizeHint().width() - metrics.horizontalAdvance(QLatin1Char('x')) * kEditHintCharacters;
  // The edit keeps a pixel after the text and one for the cursor before it
  // scrolls; one more for the rounding of the text's width.
  edit.setMinimumWidth(std::max(edit.minimumWidth(), chrome + metrics.horizontalAdvance(widest) + 3));
}

void GiveRoom(QTableWidget& list) {
  const int rowHeight = list.fontMetrics().height() + kRowMargin;
  QHeaderView* rows = list.verticalHeader();
  rows->setMinimumSectionSize(rowHeight);
  rows->setDefaultSectionSize(rowHeight);
  int columns = 0;
  for (int column = 0; column < list.columnCount(); ++column) columns += list.columnWidth(column);
  const int frame = 2 * list.frameWidth();
  // The vertical scroll bar appears once the rows fill the view.
  const int scrollBar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
  list.setMinimumSize(columns + frame + scrollBar,
                      frame + list.horizontalHeader()->sizeHint().height() + kLeastRows * rowHeight);
}

void GiveRoom(QListWidget& list) {
  // A line as high as the list's delegate makes it, measured on a line put
  // in for the purpose and taken out again.
  const auto probe = std::make_unique<QListWidgetItem>(QStringLiteral("0"));
  list.addItem(probe.get());
  const int line = list.sizeHintForRow(list.row(probe.get()));
  list.takeItem(list.row(probe.get()));
  list.setMinimumHeight(2 * list.frameWidth() + kLeastRows * line);
}

void FitToCaption(QPushButton& button) {
  const QString caption = QString(button.text()).remove(QLatin1Char('&'));
  if (caption.size() != 1 || caption[0].unicode() > 0x7F || !caption[0].isLetter()) return;
  button.setFixedWidth(std::max(button.sizeHint().height(), button.fontMetrics().horizontalAdvance(caption)));
}

}  // namespace kitsizes
