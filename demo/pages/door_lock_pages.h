#pragma once
// The door access pages: the card door access controller and the
// fingerprint door lock. Both set the lock's clock, time slots and workday
// calendars, open the door, start and stop the capture and show the lock's
// events; the card page adds and removes cards, the fingerprint page manages
// the lock's users.
#include <QDateTime>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "demo/pages/page_kit.h"
#include "demo/shell/sentrell_api.h"

// Ids of the controls.
enum DoorLockControl {
  IDC_DLOCK_DATE = 1101,
  IDC_DLOCK_TIME = 1102,
  IDC_DLOCK_SET_TIME = 1119,
  IDC_DLOCK_HYGIENE = 1107,
  IDC_DLOCK_WORK = 1108,
  IDC_DLOCK_OVERTIME = 1109,
  IDC_DLOCK_REST = 1110,
  IDC_DLOCK_MONTH_DATA = 1112,
  IDC_DLOCK_MONTH = 1113,
  IDC_DLOCK_MONTH_YEAR = 1114,
  IDC_DLOCK_MONTH_YEAR_SPIN = 1115,
  IDC_DLOCK_YEAR_YEAR = 1116,
  IDC_DLOCK_YEAR_YEAR_SPIN = 1117,
  IDC_DLOCK_YEAR_DATA = 1118,
  IDC_DLOCK_SET_MONTH = 1120,
  IDC_DLOCK_SET_YEAR = 1121,
  IDC_DLOCK_MONTH_MORE = 1136,
  IDC_DLOCK_YEAR_MORE = 1135,
  IDC_DLOCK_STATE = 1127,
  IDC_DLOCK_BELL = 1128,
  IDC_DLOCK_OPEN = 1131,
  IDC_DLOCK_DOOR_STATUS = 1132,
  IDC_DLOCK_START_CAPTURE = 1133,
  IDC_DLOCK_STOP_CAPTURE = 1134,
  IDC_DLOCK_INFO = 1072,
  // The card page.
  IDC_DLOCK_SET_SLOTS_CARD = 1036,
  IDC_DLOCK_AUTHORISED = 1129,
  IDC_DLOCK_AUTHORISE = 1130,
  IDC_DLOCK_CARD_ATTRIBUTE = 1122,
  IDC_DLOCK_CARD_NUMBER = 1123,
  IDC_DLOCK_CARD_ID = 1124,
  IDC_DLOCK_ADD_CARD = 1125,
  IDC_DLOCK_REMOVE_CARD = 1126,
  // The fingerprint page.
  IDC_DLOCK_SET_SLOTS_FINGER = 1355,
  IDC_DLOCK_USER_COUNT_QUERY = 1346,
  IDC_DLOCK_REMOVE_USER = 1347,
  IDC_DLOCK_REMOVE_ALL_USERS = 1348,
  IDC_DLOCK_PERMISSION_QUERY = 1349,
  IDC_DLOCK_SET_MATCHING = 1351,
  IDC_DLOCK_MATCHING_QUERY = 1352,
  IDC_DLOCK_SEND_FEATURE = 1353,
  IDC_DLOCK_FEATURE_QUERY = 1354,
  IDC_DLOCK_USER = 1356,
  IDC_DLOCK_USER_COUNT = 1357,
  IDC_DLOCK_MATCHING = 1358,
  IDC_DLOCK_PERMISSION = 1359,
  IDC_DLOCK_FEATURE = 1360,
  IDC_DLOCK_FEATURE_NVSID = 1361,
  IDC_DLOCK_FEATURE_NETID = 1362,
  IDC_DLOCK_FEATURE_NODID = 1363,
};

// What one door lock page is made of.
struct DoorLockFamily {
  const char* caption;
  int dialogId;
  const char* failurePrefix;  // "门禁节点: ": the start of its failure lines
  int slotButtonId;
  bool cardPage;
  decltype(&SentrellApi::CM_IOT_DAC_SetTime) setTime;
  decltype(&SentrellApi::CM_IOT_DAC_SetTimeInterval) setSlots;
  decltype(&SentrellApi::CM_IOT_DAC_SetWorkdayOfMonth) setMonth;
  decltype(&SentrellApi::CM_IOT_DAC_SetWorkdayOfYear) setYear;
  decltype(&SentrellApi::CM_IOT_DAC_Open) open;
  decltype(&SentrellApi::CM_IOT_DAC_GetDoorStatus) doorStatus;
  decltype(&SentrellApi::CM_IOT_DAC_StartCapture) startCapture;
  decltype(&SentrellApi::CM_IOT_DAC_StopCapture) stopCapture;
};

class DoorLockPage : public KitPage {
  Q_OBJECT

 public:
  // The pause between the year's workdays and the month's.
  static constexpr std::chrono::milliseconds kYearToMonthPause{500};

  using Pause = std::function<void(std::chrono::milliseconds)>;
  using Clock = std::function<QDateTime()>;

  // Blocks the GUI thread by default: no reply is drained meanwhile.
  void SetPauseForTesting(Pause pause) { m_pause = std::move(pause); }
  // The local time the pickers and years start with when the page opens.
  void SetClockForTesting(Clock clock) { m_clock = std::move(clock); }

  void PauseBeforeMonth() const { m_pause(kYearToMonthPause); }
  QDateTime Now() const { return m_clock(); }

 protected:
  DoorLockPage(const DoorLockFamily& family, PageDescription description, QWidget* parent);

 private:
  Pause m_pause;
  Clock m_clock;
};

class CDLockPage : public DoorLockPage {
  Q_OBJECT

 public:
  explicit CDLockPage(QWidget* parent = nullptr);
};

class CDLockFingerPage : public DoorLockPage {
  Q_OBJECT

 public:
  explicit CDLockFingerPage(QWidget* parent = nullptr);
};
