#pragma once
// The security pages: the two door contacts, the wireless siren, and the
// heads of the laboratory and security branches of the page tree.
#include "demo/pages/page_kit.h"
#include "demo/shell/property_page.h"

// Ids of the controls.
enum SecurityControl {
  IDC_DOOR_STATE = 1067,
  IDC_DOOR_QUERY = 1213,
  IDC_SIREN_DURATION = 1154,
  IDC_SIREN_START = 1144,
};

// A door contact page: its state icon, and for the type B contact the
// query of its state.
struct DoorContactFamily {
  const char* caption;
  int dialogId;
  const char* family;  // "DCDBAT": the word of its fault lines
  bool canQuery;
};

class DoorContactPage : public KitPage {
  Q_OBJECT

 public:
  DoorContactPage(const DoorContactFamily& family, QWidget* parent = nullptr);
};

class CDCDBATPage : public DoorContactPage {
  Q_OBJECT

 public:
  explicit CDCDBATPage(QWidget* parent = nullptr);
};

class CDCDBPage : public DoorContactPage {
  Q_OBJECT

 public:
  explicit CDCDBPage(QWidget* parent = nullptr);
};

class CWCAWPage : public KitPage {
  Q_OBJECT

 public:
  explicit CWCAWPage(QWidget* parent = nullptr);
};

// Pages that only stand as nodes of the page tree: a caption and nothing else.
class CLabPage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CLabPage(QWidget* parent = nullptr);
};

class CSecurityPage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CSecurityPage(QWidget* parent = nullptr);
};
