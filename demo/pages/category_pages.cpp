#include "demo/pages/category_pages.h"

CHEAPage::CHEAPage(QWidget* parent) : CPropertyPage(QString::fromUtf8("家用电器"), 109, parent) {}

CSmartHomePage::CSmartHomePage(QWidget* parent) : CPropertyPage(QString::fromUtf8("智能家居"), 143, parent) {}

CPTZPage::CPTZPage(QWidget* parent) : CPropertyPage(QString::fromUtf8("云台"), 138, parent) {}
