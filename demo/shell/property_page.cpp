#include "demo/shell/property_page.h"

CPropertyPage::CPropertyPage(const QString& caption, int dialogId, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_dialogId(dialogId) {}

void CPropertyPage::EnsureCreated() {
  if (m_created.load()) return;
  m_created.store(true);
  OnInitDialog();
}
