#pragma once
// The smart-home device pages: lamp, curtain and power switch. Each button
// shows the pending icon whatever the result; the "status" replies show the
// state.
#include "demo/pages/page_kit.h"

// Ids of the controls.
enum SmartHomeControl {
  IDC_BTN_OPEN = 1066,
  IDC_BTN_CLOSE = 1036,
  IDC_BTN_STOP = 1048,
  IDC_STATE_ICON = 1067,
  IDC_SLIDER_POSITION = 1098,
  IDC_BTN_QUERY = 1197,
  IDC_BTN_EC_QUERY = 1213,
};

class CLampPage : public KitPage {
  Q_OBJECT

 public:
  explicit CLampPage(QWidget* parent = nullptr);
};

class CECPage : public KitPage {
  Q_OBJECT

 public:
  explicit CECPage(QWidget* parent = nullptr);
};

class CPowerPage : public KitPage {
  Q_OBJECT

 public:
  explicit CPowerPage(QWidget* parent = nullptr);
};
