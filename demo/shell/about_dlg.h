#pragma once
// The about box: the program icon, its name and version, and an OK button.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

 private:
  QLabel m_icon;
  QLabel m_text;
  QDialogButtonBox m_buttons;
};
