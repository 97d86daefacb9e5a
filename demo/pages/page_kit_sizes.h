#pragma once
// The room the page kit gives its controls, whatever the size of the page
// area: an edit is as wide as the widest text it shows, a list shows a few
// rows and all its columns, a button whose caption is one letter is square.
// A page taller or wider than its area scrolls in the page frame instead of
// squeezing these.
class QLineEdit;
class QListWidget;
class QPushButton;
class QString;
class QTableWidget;

namespace kitsizes {

// Rows a list view or list box always has room for.
inline constexpr int kLeastRows = 4;

// At least as wide as `widest` takes, with the edit's frame and margins.
void FitWidthTo(QLineEdit& edit, const QString& widest);
// Rows as high as a line of the list's font and a small margin; room for
// kLeastRows of them under the headings, and for every column side by side.
void GiveRoom(QTableWidget& list);
// Room for kLeastRows lines.
void GiveRoom(QListWidget& list);
// A one-letter caption: as wide as the button is high.
void FitToCaption(QPushButton& button);

}  // namespace kitsizes
