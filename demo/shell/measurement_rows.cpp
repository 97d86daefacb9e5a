#include "demo/shell/measurement_rows.h"

#include <QHeaderView>
#include <QTableWidget>

#include "demo/shell/debug_trace.h"
#include "demo/shell/text_format.h"

namespace {

void SetCell(QTableWidget& list, int row, int column, const std::string& text) {
  if (column >= list.columnCount()) return;
  // The list owns its items.
  list.setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
}

// Rows that fit whole in the view.
int RowsPerView(const QTableWidget& list) {
  const int rowHeight = list.rowCount() > 0 ? list.rowHeight(0) : list.verticalHeader()->defaultSectionSize();
  if (rowHeight <= 0) return 0;
  return list.viewport()->height() / rowHeight;
}

}  // namespace

std::string FormatRowTime(const TimeOfDay& time) {
  return Format("%02d:%02d:%02d.%03d", time.hour, time.minute, time.second, time.millisecond);
}

std::string FormatPrecision(double value, int precision) {
  if (precision > 20) precision = 20;
  return Format("%.*f", precision, value);
}

int AddMeasurementRow(QTableWidget& list, const TimeOfDay& utcTime, const std::vector<std::string>& values,
                      const std::optional<std::string>& lastText) {
  const int row = list.rowCount();
  list.insertRow(row);
  SetCell(list, row, 0, Format("%d", row + 1));
  SetCell(list, row, 1, FormatRowTime(utcTime));
  int column = 2;
  for (const std::string& value : values) SetCell(list, row, column++, value);
  if (lastText && column < list.columnCount()) SetCell(list, row, column, *lastText);

  // Positions in rows, as a list view reports them: the top row shown, the
  // range 0 .. rows-1, and the rows that fit in the view.
  const int topRow = qMax(0, list.rowAt(0));
  const int minPos = 0;
  const int maxPos = list.rowCount() - 1;
  const int perPage = RowsPerView(list);
  DebugTrace("====Pos: %d\tMinPos: %d\tMaxPos: %d\tCountPerPage: %d\n", topRow, minPos, maxPos, perPage);
  if (topRow + perPage >= maxPos - 2) {
    // The view lays out new rows later; its scroll range must take in this
    // row now, or a block of rows added at once stops short of the last.
    list.doItemsLayout();
    list.scrollTo(list.model()->index(row, 0), QAbstractItemView::EnsureVisible);
  }
  return 1;
}
