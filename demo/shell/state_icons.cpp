#include "demo/shell/state_icons.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon Disc(const QColor& fill, const QColor& mark) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(fill.darker(160), 2));
  painter.setBrush(fill);
  painter.drawEllipse(QRectF(3, 3, 26, 26));
  painter.setPen(Qt::NoPen);
  painter.setBrush(mark);
  painter.drawEllipse(QRectF(11, 11, 10, 10));
  return QIcon(pixmap);
}

QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 90, 160));
  painter.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(7, 7, 8, 8));
  painter.drawEllipse(QRectF(17, 17, 8, 8));
  painter.setPen(QPen(Qt::white, 2));
  painter.drawLine(QPointF(13, 13), QPointF(19, 19));
  return QIcon(pixmap);
}

}  // namespace

QIcon LoadDemoIcon(int id) {
  switch (id) {
    case IDR_MAINFRAME:
      return ProgramIcon();
    case IDI_OFF:
      return Disc(QColor(150, 150, 150), QColor(90, 90, 90));
    case IDI_ON:
      return Disc(QColor(60, 180, 75), QColor(230, 255, 230));
    case IDI_PENDING:
      return Disc(QColor(240, 200, 40), QColor(255, 250, 220));
    case IDI_UNUSED:
      return Disc(QColor(70, 130, 220), QColor(220, 235, 255));
    case IDI_BUSY:
      return Disc(QColor(235, 120, 30), QColor(255, 235, 210));
    default:
      return {};
  }
}
