#pragma once
// The data-acquisition category page, the card reader pages (a card that a
// reader reports by itself) and the adapter pages (anemometer, wind vane and
// weather station, whose data the adapter sends on request).
#include "demo/pages/page_kit.h"
#include "demo/shell/property_page.h"

// Ids of the controls.
enum ReaderAdapterControl {
  IDC_RFID_CARD = 1124,
  IDC_RFID_ACTION = 1318,
  IDC_RFID_CARD_TYPE = 1319,
  IDC_RFID_GET_CARD = 1315,
  IDC_ADAPTER_GET_TYPE = 1158,
  IDC_ADAPTER_TYPE = 1159,
  IDC_ADAPTER_GET_DATA = 1156,
  IDC_ADAPTER_DATA = 1161,
  IDC_ADAPTER_WIND_SPEED = 1157,
  IDC_ADAPTER_WIND_DIRECTION = 1167,
};

// The category node of the data-acquisition pages.
class CDAPage : public CPropertyPage {
  Q_OBJECT

 public:
  explicit CDAPage(QWidget* parent = nullptr);
};

class CRFIDControl125KPage : public KitPage {
  Q_OBJECT

 public:
  explicit CRFIDControl125KPage(QWidget* parent = nullptr);
};

class CRFIDControl13M56Page : public KitPage {
  Q_OBJECT

 public:
  explicit CRFIDControl13M56Page(QWidget* parent = nullptr);
};

// The category node of the adapter pages: asks an adapter for its type or
// its data.
class CAdapterPage : public KitPage {
  Q_OBJECT

 public:
  explicit CAdapterPage(QWidget* parent = nullptr);
};

class CAdapterFSPage : public KitPage {
  Q_OBJECT

 public:
  explicit CAdapterFSPage(QWidget* parent = nullptr);
};

class CAdapterFXPage : public KitPage {
  Q_OBJECT

 public:
  explicit CAdapterFXPage(QWidget* parent = nullptr);
};

class CAdapterWSPage : public KitPage {
  Q_OBJECT

 public:
  explicit CAdapterWSPage(QWidget* parent = nullptr);
};
