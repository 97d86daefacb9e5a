#pragma once
// The electricity, water and gas meter pages. A meter is addressed by its
// meter number, which the page learns from the meter's own answer to a
// meter-number query; the commands that carry it are refused until then.
#include <cstdint>

#include "demo/pages/page_kit.h"

// Ids of the controls.
enum MeterControl {
  // Electricity meter: the values, each with its "Q" button.
  IDC_PM_VOLTAGE = 1278,
  IDC_PM_CURRENT = 1279,
  IDC_PM_ACTIVE_POWER = 1280,
  IDC_PM_POWER_FACTOR = 1281,
  IDC_PM_DATE = 1282,
  IDC_PM_TIME = 1182,
  IDC_PM_COVER_OPEN_COUNT = 1285,
  IDC_PM_AVAILABLE = 1286,
  IDC_PM_MAXIMUM_CURRENT = 1287,
  IDC_PM_ENERGY = 1288,
  IDC_PM_ACCOUNT_DAY = 1290,
  IDC_PM_THIS_MONTH = 1289,
  IDC_PM_LAST_MONTH = 1291,
  IDC_PM_Q_VOLTAGE = 1292,
  IDC_PM_Q_CURRENT = 1293,
  IDC_PM_Q_ACTIVE_POWER = 1295,
  IDC_PM_Q_POWER_FACTOR = 1296,
  IDC_PM_Q_DATE = 1297,
  IDC_PM_Q_TIME = 1298,
  IDC_PM_Q_METER_NUMBER = 1299,
  IDC_PM_Q_COVER_OPEN_COUNT = 1300,
  IDC_PM_Q_AVAILABLE = 1301,
  IDC_PM_Q_MAXIMUM_CURRENT = 1302,
  IDC_PM_Q_ENERGY = 1303,
  IDC_PM_Q_ACCOUNT_DAY = 1304,
  IDC_PM_Q_THIS_MONTH = 1305,
  IDC_PM_Q_LAST_MONTH = 1306,
  IDC_PM_SET_DATE = 1308,
  IDC_PM_SET_TIME = 1119,
  IDC_PM_SET_ACCOUNT_DAY = 1310,
  IDC_PM_SET_MAXIMUM_CURRENT = 1311,
  IDC_PM_ADD_AVAILABLE = 1312,
  IDC_PM_CLEAR_AVAILABLE = 1313,
  IDC_PM_RELAY_ON = 1314,
  IDC_PM_RELAY_OFF = 1036,
  IDC_PM_INIT = 1005,
  IDC_PM_QUERY_DATA = 1329,
  IDC_PM_FAULT = 1326,
  IDC_PM_ACK = 1327,
  IDC_PM_RELAY_ICON = 1328,
  IDC_PM_FEEDBACK_ICON = 1067,
  // Water and gas meters.
  IDC_WM_READING = 1161,
  IDC_WM_QUERY_METER_NUMBER = 1299,
  IDC_WM_QUERY_READING = 1332,
  IDC_WM_QUERY_VALVE = 1333,
  IDC_WM_FACTORY_MODE = 1334,
  IDC_WM_CALIBRATE = 1335,
  IDC_WM_VALVE_TEST = 1336,
  IDC_WM_OPEN_VALVE = 1337,
  IDC_WM_CLOSE_VALVE = 1338,
  IDC_WM_VALVE_SLIDER = 1341,
  IDC_WM_CALIBRATION = 1342,
  IDC_WM_FAULT = 1343,
  IDC_WM_ALARM = 1344,
  IDC_WM_VALVE_ICON = 1345,
  // Every meter page: the meter number.
  IDC_METER_NUMBER = 1284,
};

// A meter page: the controls and rules of its description and the meter
// address (0: not known yet), learnt from a reply and kept when another
// node is selected.
class MeterPage : public KitPage {
  Q_OBJECT

 public:
  MeterPage(const char* caption, int dialogId, PageDescription description, QWidget* parent);
  std::uint64_t& MeterAddress() { return m_meterAddress; }

 private:
  std::uint64_t m_meterAddress = 0;
};

class CPowerMeterControlPage : public MeterPage {
  Q_OBJECT

 public:
  explicit CPowerMeterControlPage(QWidget* parent = nullptr);
};

class CWaterMeterControl : public MeterPage {
  Q_OBJECT

 public:
  explicit CWaterMeterControl(QWidget* parent = nullptr);
  // 0 off, 1 on; it follows only the meter's answers.
  int& FactoryMode() { return m_factoryMode; }

 private:
  int m_factoryMode = 0;
};

class CGasMeterControlPage : public MeterPage {
  Q_OBJECT

 public:
  explicit CGasMeterControlPage(QWidget* parent = nullptr);
};

// The day and the hour of a settle-day text ("%d %d"); 0 for each number
// that is missing or does not fit an int.
struct SettleDay {
  int day = 0;
  int hour = 0;
  bool operator==(const SettleDay&) const = default;
};
SettleDay ScanSettleDay(const std::string& text);
