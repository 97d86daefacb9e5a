#pragma once
// The valuables cabinet and blood-pressure meter pages: every command is
// logged with its result; the cabinet's events are lines of a list box, its
// boxes rows of a list; the meter's samples are rows and its result edits.
#include <string>

#include "demo/pages/page_kit.h"

enum CabinetControl {
  IDC_CABMGZ_ADD = 1364,
  IDC_CABMGZ_REMOVE = 1036,
  IDC_CABMGZ_CLEAR = 1369,
  IDC_CABMGZ_OPEN = 1131,
  IDC_CABMGZ_WEIGHT = 1371,
  IDC_CABMGZ_CLEAR_BOX_ADMIN = 1373,
  IDC_CABMGZ_REMOVE_BOX = 1374,
  IDC_CABMGZ_ACCOUNT = 1365,  // the radio group: 1365 ordinary user, 1381 with password
  IDC_CABMGZ_ACCOUNT_PASSWORD = 1381,
  IDC_CABMGZ_USER = 1366,
  IDC_CABMGZ_CARD = 1367,
  IDC_CABMGZ_BOX = 1372,
  IDC_CABMGZ_PASSWORD = 1382,
  IDC_CABMGZ_REINIT = 1375,
  IDC_CABMGZ_CLEAR_ADMIN = 1376,
  IDC_CABMGZ_ADMIN_INFO = 1377,
  IDC_CABMGZ_BOX_INFO = 1378,
  IDC_CABMGZ_BOXES = 1380,
  IDC_CABMGZ_EVENTS = 1383,
  IDC_CABMGZ_BOX_GROUP = 1,
  IDC_CABMGZ_CABINET_GROUP = 2,
  IDC_CABMGZ_ACCOUNT_GROUP = 3,  // "账户类型", inside "箱体管理"
};

enum SphygmoControl {
  IDC_SPHYGMO_POWER = 1391,
  IDC_SPHYGMO_START = 1144,
  IDC_SPHYGMO_STOP = 1048,
  IDC_SPHYGMO_QUERY = 1272,
  IDC_SPHYGMO_SYSTOLIC = 1384,
  IDC_SPHYGMO_DIASTOLIC = 1385,
  IDC_SPHYGMO_HEART_RATE = 1387,
  IDC_SPHYGMO_ARRHYTHMIA = 1388,
  IDC_SPHYGMO_SAMPLES = 1389,
  IDC_SPHYGMO_ACKS = 1390,
};

// The boxes of the cabinet's list: each box number and its size.
inline constexpr int kCabinetBoxes = 16;

// "name: operation" with 成功! for a result of 1 and 错误! for any other: a
// command that was not sent (0) is not a success.
KitAfter LogSentOrNot(std::string name, std::string operation);

class CCabMgzPage : public KitPage {
  Q_OBJECT

 public:
  explicit CCabMgzPage(QWidget* parent = nullptr);
};

class CSphygmoMeterPage : public KitPage {
  Q_OBJECT

 public:
  explicit CSphygmoMeterPage(QWidget* parent = nullptr);
};
