#pragma once
// The vehicle pages: the barrier of a licence-plate recogniser with the
// list of the plates it reports, and a vehicle carrying an RFID reader.
#include "demo/pages/page_kit.h"

// Ids of the controls.
enum VehicleControl {
  IDC_VLR_NORMAL = 1274,
  IDC_VLR_FREE = 1036,
  IDC_VLR_STATE = 1193,
  IDC_VLR_PLATES = 1078,
  IDC_CAR_FORWARD = 1320,
  IDC_CAR_BACK = 1036,
  IDC_CAR_LEFT = 1321,
  IDC_CAR_RIGHT = 1322,
  IDC_CAR_STOP = 1048,
  IDC_CAR_STATE = 1067,
  IDC_CAR_CARD_NUMBER = 1123,
  IDC_CAR_CARD_ID = 1124,
};

class CVLRPage : public KitPage {
  Q_OBJECT

 public:
  explicit CVLRPage(QWidget* parent = nullptr);
};

class CCarRFIDPage : public KitPage {
  Q_OBJECT

 public:
  explicit CCarRFIDPage(QWidget* parent = nullptr);
};
