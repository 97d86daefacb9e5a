#include "demo/shell/about_dlg.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "demo/shell/state_icons.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), m_text(QStringLiteral("SentrellDemo 1.0 版")), m_buttons(QDialogButtonBox::Ok) {
  setObjectName(QStringLiteral("100"));
  setWindowTitle(QStringLiteral("关于 SentrellDemo"));
  m_icon.setPixmap(LoadDemoIcon(IDR_MAINFRAME).pixmap(32, 32));
  m_text.setObjectName(QStringLiteral("AboutText"));
  auto* row = new QHBoxLayout;  // owned by the dialog's layout
  row->addWidget(&m_icon);
  row->addWidget(&m_text, 1);
  auto* layout = new QVBoxLayout(this);  // owned by the dialog
  layout->addLayout(row);
  layout->addWidget(&m_buttons);
  connect(&m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}
