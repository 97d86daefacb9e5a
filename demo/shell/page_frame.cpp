#include "demo/shell/page_frame.h"

#include <QLinearGradient>
#include <QPainter>

void CPageFrame::ShowCaption(bool show) {
  m_showCaption = show;
  SafeUpdateWindow(CalcCaptionArea());
}

void CPageFrame::SetCaptionHeight(int height) {
  m_captionHeight = height;
  SafeUpdateWindow(CalcCaptionArea());
}

void CPageFrame::SetCaption(const QString& text, const QIcon& icon) {
  m_caption = text;
  m_captionIcon = icon;
  SafeUpdateWindow(CalcCaptionArea());
}

void CPageFrame::SetMsgText(const QString& text) {
  m_message = text;
  SafeUpdateWindow(CalcMsgArea());
}

void CPageFrame::SetMsgFormat(int format) {
  m_messageFormat = format;
  SafeUpdateWindow(CalcMsgArea());
}

void CPageFrame::Draw(QPainter& painter) {
  if (m_showCaption) DrawCaption(painter, CalcCaptionArea(), m_caption, m_captionIcon);
  DrawMsg(painter, CalcMsgArea(), m_message, m_messageFormat);
}

QRect CPageFrame::CalcMsgArea() {
  QWidget* wnd = GetWnd();
  if (wnd == nullptr) return {};
  QRect area = wnd->rect();
  if (m_showCaption) area.setTop(area.top() + m_captionHeight);
  return area;
}

void CPageFrame::DrawMsg(QPainter& painter, const QRect& area, const QString& text, int format) {
  if (text.isEmpty()) return;
  painter.save();
  if (QWidget* wnd = GetWnd()) {
    painter.setFont(wnd->font());
    painter.setPen(wnd->palette().color(QPalette::WindowText));
  }
  painter.drawText(area, format, text);
  painter.restore();
}

QRect CPageFrame::CalcCaptionArea() {
  QWidget* wnd = GetWnd();
  if (wnd == nullptr || !m_showCaption) return {};
  QRect area = wnd->rect();
  area.setHeight(m_captionHeight);
  return area;
}

void CPageFrame::DrawCaption(QPainter&, const QRect&, const QString&, const QIcon&) {}

void CPageFrame::SafeUpdateWindow(const QRect& area) {
  if (QWidget* wnd = GetWnd()) wnd->update(area);
}

CPageFrameWnd::CPageFrameWnd(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PageFrame"));
  setWindowTitle(QStringLiteral("Page Frame"));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
}

bool CPageFrameWnd::Create(QWidget* parent) {
  setParent(parent);
  show();
  return true;
}

QRect CPageFrameWnd::CalcMsgArea() {
  QRect area = CPageFrame::CalcMsgArea();
  if (GetShowCaption()) area.setTop(area.top() + 1);
  return area;
}

void CPageFrameWnd::DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QIcon& icon) {
  if (area.isEmpty()) return;
  painter.save();
  QLinearGradient gradient(area.topLeft(), area.topRight());
  gradient.setColorAt(0.0, InactiveCaptionColor());
  gradient.setColorAt(1.0, palette().color(QPalette::Button));
  painter.fillRect(area, gradient);

  int textLeft = area.left();
  if (!icon.isNull()) {
    const int side = qMin(16, area.height());
    const QRect iconRect(area.left() + 3, area.top() + (area.height() - side) / 2, side, side);
    icon.paint(&painter, iconRect);
    textLeft = iconRect.right() + 1 + 3;
  }
  textLeft += 2;

  const QRect textRect(textLeft, area.top(), qMax(0, area.right() - textLeft + 1), area.height());
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
  painter.restore();
}

void CPageFrameWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Draw(painter);
}
