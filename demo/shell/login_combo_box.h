#pragma once
// An editable combo box of the log-in form as assistive technology reads
// it: named by the label in front of it, with its text as its value. In
// password mode its edit shows bullets, Enter adds nothing to its list, and
// nothing assistive technology reads from the box or from the objects below
// it (names, descriptions, values, texts, text-change events) carries the
// text.
#include <QComboBox>

class QLabel;

class CLoginComboBox : public QComboBox {
  Q_OBJECT

 public:
  enum class Echo { kNormal, kPassword };

  explicit CLoginComboBox(Echo echo = Echo::kNormal, QWidget* parent = nullptr);

  // The label names the box and its edit (without the colon that ends it on
  // the screen) and has the box as its buddy.
  void SetLabel(QLabel& label);

  bool IsPassword() const { return m_echo == Echo::kPassword; }

 private:
  Echo m_echo;
};
