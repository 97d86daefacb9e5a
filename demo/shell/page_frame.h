#pragma once
// The frame of the tree property sheet: a caption bar with the page's name
// and icon above the page area, and a message drawn in the page area when
// a tree node has no page of its own.
#include <QIcon>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

class CPageFrame {
 public:
  virtual ~CPageFrame() = default;

  virtual bool Create(QWidget* parent) = 0;
  virtual QWidget* GetWnd() = 0;

  virtual void ShowCaption(bool show);
  bool GetShowCaption() const { return m_showCaption; }
  virtual void SetCaptionHeight(int height);
  int GetCaptionHeight() const { return m_captionHeight; }
  virtual void SetCaption(const QString& text, const QIcon& icon = QIcon());
  const QString& GetCaption() const { return m_caption; }
  const QIcon& GetCaptionIcon() const { return m_captionIcon; }
  virtual void SetMsgText(const QString& text);
  const QString& GetMsgText() const { return m_message; }
  // Qt alignment and text flags of the message.
  virtual void SetMsgFormat(int format);
  int GetMsgFormat() const { return m_messageFormat; }

  // The caption (when shown), then the message.
  virtual void Draw(QPainter& painter);
  // The frame's client area below the caption.
  virtual QRect CalcMsgArea();
  virtual void DrawMsg(QPainter& painter, const QRect& area, const QString& text, int format);
  // The top strip as high as the caption; empty when the caption is hidden.
  virtual QRect CalcCaptionArea();
  virtual void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QIcon& icon);

  // Centred, vertically centred, one line, '&' shown as it is.
  static constexpr int kDefaultMsgFormat = Qt::AlignCenter | Qt::TextSingleLine;

 protected:
  void SafeUpdateWindow(const QRect& area);

 private:
  bool m_showCaption = false;
  int m_captionHeight = 0;
  QString m_caption;
  QIcon m_captionIcon;
  QString m_message;
  int m_messageFormat = kDefaultMsgFormat;
};

class CPageFrameWnd : public QWidget, public CPageFrame {
  Q_OBJECT

 public:
  explicit CPageFrameWnd(QWidget* parent = nullptr);

  bool Create(QWidget* parent) override;
  QWidget* GetWnd() override { return this; }
  QRect CalcMsgArea() override;
  void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QIcon& icon) override;

  // Colour at the left end of the caption bar (inactive window captions).
  static QColor InactiveCaptionColor() { return QColor(191, 205, 219); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};
