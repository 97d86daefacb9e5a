#pragma once
// The laboratory's switching pages: the camera cover, the water valve with
// its timer, the experiment box's power, the single-live-wire light switch
// and the AC contactor (a page with nothing on it).
#include "demo/pages/page_kit.h"

// Ids of the controls.
enum LabSwitchControl {
  IDC_LAB_OPEN = 1066,
  IDC_LAB_CLOSE = 1036,
  IDC_LAB_STATE = 1067,
  IDC_LAB_AUTHORISE = 1100,
  IDC_LAB_QUERY = 1197,
  // Camera cover.
  IDC_CC_QUERY = 1331,
  IDC_CC_STATUS = 1072,
  IDC_CC_POSITION = 1098,
  IDC_CC_PROGRESS = 1097,
  // Water valve.
  IDC_WATER_OPEN = 1131,
  IDC_WATER_CLOSE = 1199,
  IDC_WATER_QUERY = 1213,
  IDC_WATER_WEEKLY = 1200,  // the first of the three timing radios
  IDC_WATER_DAILY = 1201,
  IDC_WATER_HOURLY = 1202,
  IDC_WATER_ON_WEEKDAY = 1203,
  IDC_WATER_ON_HOUR = 1204,
  IDC_WATER_ON_MINUTE = 1205,
  IDC_WATER_OFF_WEEKDAY = 1206,
  IDC_WATER_OFF_HOUR = 1207,
  IDC_WATER_OFF_MINUTE = 1208,
  IDC_WATER_SET_TIMER = 1209,
  IDC_WATER_TIMER_ON = 1211,
  IDC_WATER_TIMER_OFF = 1212,
  IDC_WATER_TIMER_ICON = 1214,
  IDC_WATER_DAMAGE_ICON = 1215,
};

class CCCPage : public KitPage {
  Q_OBJECT

 public:
  explicit CCCPage(QWidget* parent = nullptr);
};

class CWaterPage : public KitPage {
  Q_OBJECT

 public:
  explicit CWaterPage(QWidget* parent = nullptr);
};

class CControlTCPage : public KitPage {
  Q_OBJECT

 public:
  explicit CControlTCPage(QWidget* parent = nullptr);
};

class CSLRCPage : public KitPage {
  Q_OBJECT

 public:
  explicit CSLRCPage(QWidget* parent = nullptr);
};

class CControlPage : public KitPage {
  Q_OBJECT

 public:
  explicit CControlPage(QWidget* parent = nullptr);
};
