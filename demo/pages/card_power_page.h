#pragma once
// The IC-card power page: switches the power, sets one of three work modes
// with their times, and shows the card, mode and power state.
#include "demo/pages/page_kit.h"

enum CardPowerControl {
  IDC_ICREAD_ON = 1131,
  IDC_ICREAD_OFF = 1199,
  IDC_ICREAD_QUERY_STATUS = 1213,
  IDC_ICREAD_SCHOOL = 1147,
  IDC_ICREAD_MODE = 1253,  // the radio group: 1253, 1258, 1259 for modes 0, 1, 2
  IDC_ICREAD_MODE2 = 1258,
  IDC_ICREAD_MODE3 = 1259,
  IDC_ICREAD_TIMING = 1249,
  IDC_ICREAD_START_WEEKDAY = 1243,
  IDC_ICREAD_START_HOUR = 1244,
  IDC_ICREAD_START_MINUTE = 1245,
  IDC_ICREAD_END_WEEKDAY = 1246,
  IDC_ICREAD_END_HOUR = 1247,
  IDC_ICREAD_END_MINUTE = 1248,
  IDC_ICREAD_DAYS = 1255,
  IDC_ICREAD_HOURS = 1256,
  IDC_ICREAD_MINUTES = 1257,
  IDC_ICREAD_SET_MODE = 1254,
  IDC_ICREAD_POWER_ICON = 1127,
  IDC_ICREAD_CARD_ID = 1263,
  IDC_ICREAD_CARD_NUMBER = 1264,
  IDC_ICREAD_CARD_SCHOOL = 1265,
  IDC_ICREAD_WORK_MODE = 1266,
  IDC_ICREAD_ERROR = 1267,
  IDC_ICREAD_ON_TIME = 1268,
  IDC_ICREAD_OFF_TIME = 1269,
  IDC_ICREAD_QUERY_CONFIG = 1270,
  IDC_ICREAD_CARD_GROUP = 1,
  IDC_ICREAD_MODE_GROUP = 2,
  IDC_ICREAD_INFO_GROUP = 3,
};

// Item data of the timing list.
enum CardPowerTiming { kTimingHourly = 2, kTimingDaily = 3, kTimingWeekly = 4 };

class CICReadPage : public KitPage {
  Q_OBJECT

 public:
  explicit CICReadPage(QWidget* parent = nullptr);
};
