#pragma once
// Pages that only stand as nodes of the page tree: a caption and nothing else.
#include "demo/shell/property_page.h"

class CHEAPage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CHEAPage(QWidget* parent = nullptr);
};

class CSmartHomePage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CSmartHomePage(QWidget* parent = nullptr);
};

// Not a page of the main dialog's tree.
class CPTZPage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CPTZPage(QWidget* parent = nullptr);
};
