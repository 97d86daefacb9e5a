#include "demo/pages/door_lock_pages.h"

#include <QWidget>
#include <algorithm>
#include <array>
#include <thread>

#include "demo/shell/ascii_case.h"
#include "demo/shell/cm_parser.h"
#include "demo/shell/text_format.h"
#include "library/session/codecs.h"

namespace {

// The group boxes.
enum DoorLockGroup {
  kClockGroup = 1,
  kSlotGroup,
  kMonthGroup,
  kYearGroup,
  kStatusGroup,
  kOwnGroup,  // the card page's cards, the fingerprint page's users
};

constexpr double kFirstYear = 1970;
constexpr double kLastYear = 2038;
// Bytes of the workday data of a month and of a year.
constexpr std::size_t kMonthWorkdayLength = 4;
constexpr std::size_t kYearWorkdayLength = 48;
// Room of the buffer each hex text of a month or a card is read into.
constexpr std::size_t kHexBufferBytes = 8;

constexpr DoorLockFamily kCardLock{"安全防护::门禁",
                                   155,
                                   "门禁节点: ",
                                   IDC_DLOCK_SET_SLOTS_CARD,
                                   true,
                                   &SentrellApi::CM_IOT_DAC_SetTime,
                                   &SentrellApi::CM_IOT_DAC_SetTimeInterval,
                                   &SentrellApi::CM_IOT_DAC_SetWorkdayOfMonth,
                                   &SentrellApi::CM_IOT_DAC_SetWorkdayOfYear,
                                   &SentrellApi::CM_IOT_DAC_Open,
                                   &SentrellApi::CM_IOT_DAC_GetDoorStatus,
                                   &SentrellApi::CM_IOT_DAC_StartCapture,
                                   &SentrellApi::CM_IOT_DAC_StopCapture};
constexpr DoorLockFamily kFingerprintLock{"安全防护::指纹门禁",
                                          193,
                                          "指纹门禁节点: ",
                                          IDC_DLOCK_SET_SLOTS_FINGER,
                                          false,
                                          &SentrellApi::CM_IOT_DLockFinger_SetTime,
                                          &SentrellApi::CM_IOT_DLockFinger_SetTimeInterval,
                                          &SentrellApi::CM_IOT_DLockFinger_SetWorkdayOfMonth,
                                          &SentrellApi::CM_IOT_DLockFinger_SetWorkdayOfYear,
                                          &SentrellApi::CM_IOT_DLockFinger_OpenDoor,
                                          &SentrellApi::CM_IOT_DLockFinger_QueryDoorStatus,
                                          &SentrellApi::CM_IOT_DLockFinger_StartCapture,
                                          &SentrellApi::CM_IOT_DLockFinger_StopCapture};

// The hex digit's value; any other character counts as 0.
int HexDigit(char c) { return std::max(HexDigitValue(c), 0); }

// The year's workday text read two characters a byte from its start (an odd
// last character gives the high half of the last byte), cut at the buffer;
// a text of fewer than two characters leaves it zero.
std::array<std::uint8_t, kYearWorkdayLength> YearWorkdayBytes(const std::string& text) {
  std::array<std::uint8_t, kYearWorkdayLength> bytes{};
  if (text.size() < 2) return bytes;
  for (std::size_t k = 0; k < bytes.size() && 2 * k < text.size(); ++k) {
    const int high = HexDigit(text[2 * k]);
    const int low = 2 * k + 1 < text.size() ? HexDigit(text[2 * k + 1]) : 0;
    bytes[k] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return bytes;
}

std::array<std::uint8_t, kHexBufferBytes> HexBuffer(const std::string& text) {
  std::array<std::uint8_t, kHexBufferBytes> bytes{};
  HexTextToBytes(bytes.data(), bytes.size(), text.c_str());
  return bytes;
}

// The first four bytes of the hex text's buffer, the first byte lowest.
int CardNumber(const std::string& text) {
  const auto bytes = HexBuffer(text);
  const std::uint32_t number =
      bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return static_cast<int>(number);
}

int CardAttribute(const std::string& text) { return HexBuffer(text)[0]; }

// The chosen slot's hour: each entry's item data is the number its text shows.
int SlotHour(const KitPage& page, int comboId) { return static_cast<int>(page.ChosenData(comboId)); }

std::string ClockText(KitPage& page) {
  const PickedDateTime& date = page.DateTime(IDC_DLOCK_DATE);
  const PickedDateTime& time = page.DateTime(IDC_DLOCK_TIME);
  return Format("%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day, time.hour, time.minute, time.second);
}

std::string Word(const std::string& text, const char* element) {
  return CCMParser::GetDataElementValueString(text, element).value_or(std::string());
}

// The text of the first word that is the element's text (ignoring case), ""
// for any other.
template <std::size_t N>
std::string TextOfWord(const std::string& text, const char* element,
                       const std::pair<const char*, const char*> (&words)[N]) {
  const std::string word = Word(text, element);
  for (const auto& [known, shown] : words) {
    if (EqualsIgnoringCase(word, known)) return shown;
  }
  return {};
}

constexpr std::pair<const char*, const char*> kPositions[] = {{"indooor", "门内开门"}, {"outdoor", "门外开门"}};
constexpr std::pair<const char*, const char*> kOperations[] = {
    {"SetRTC", "DLOCK: 门的RTC授时"},
    {"SetInterval", "DLOCK: 门的时段字更改"},
    {"SetMonthWorkday", "DLOCK: 单月的工作日记录信息"},
    {"SetYearWorkday", "DLOCK: 全年的工作日记录信息"},
    {"AddCard", "DLOCK: 向门写卡编号与卡ID"},
    {"RemoveCard", "DLOCK: 从门上删除卡编号与卡ID"},
    {"OpenDoor", "DLOCK: 指令开门指令接收"},
    {"StartCapture", "DLOCK: 启动抓拍指令执行"},
    {"StopCapture", "DLOCK: 撤消抓拍指令执行"},
    {"DoorStatus", "DLOCK: 门状态信息应答"},
};
constexpr std::pair<const char*, const char*> kResults[] = {{"success", "成功"}, {"failure", "失败"}};

std::vector<WordCase> LogCases(std::vector<std::pair<const char*, const char*>> words) {
  std::vector<WordCase> cases;
  for (const auto& [word, line] : words) cases.push_back({word, {LogLine(line)}});
  return cases;
}

// The lock's permission: the open events write it as "permision".
std::uint32_t Permission(const std::string& text) {
  return CCMParser::IsDataElement(text, "permission") ? CCMParser::GetDataElementValueUInt(text, "permission")
                                                      : CCMParser::GetDataElementValueUInt(text, "permision");
}

ReplyAction SetPermission() {
  return [](KitPage& page, const std::string& text) { page.UInt(IDC_DLOCK_PERMISSION) = Permission(text); };
}

std::string Failure(const DoorLockFamily& f, const char* operation) {
  return std::string(f.failurePrefix) + operation + "错误!";
}

// A button of the common pattern: the page read, the session checked, the
// export called, its failure line on -1.
ButtonRow Command(int id, std::string caption, KitCall call, std::string failure) {
  return Button(id, std::move(caption))
      .Reads(ReadPage::kBeforeCheck)
      .Calls(std::move(call))
      .ErrorLine(std::move(failure));
}

int SendMonth(KitPage& page, decltype(&SentrellApi::CM_IOT_DAC_SetWorkdayOfMonth) setMonth) {
  const auto data = HexBuffer(page.TextValue(IDC_DLOCK_MONTH_DATA));
  return page.Send(Api().*setMonth, page.Int(IDC_DLOCK_MONTH_YEAR) % 100,
                   static_cast<int>(page.ChosenData(IDC_DLOCK_MONTH)), data.data(),
                   static_cast<int>(kMonthWorkdayLength));
}

int SendYear(KitPage& page, decltype(&SentrellApi::CM_IOT_DAC_SetWorkdayOfYear) setYear) {
  const auto data = YearWorkdayBytes(page.TextValue(IDC_DLOCK_YEAR_DATA));
  return page.Send(Api().*setYear, page.Int(IDC_DLOCK_YEAR_YEAR) % 100, data.data(),
                   static_cast<int>(kYearWorkdayLength));
}

void DescribeCommon(const DoorLockFamily& f, PageDescription& page) {
  ControlRow monthYear = Edit(IDC_DLOCK_MONTH_YEAR, "年:", ValueKind::kInt)
                             .Spin(IDC_DLOCK_MONTH_YEAR_SPIN, kFirstYear, kLastYear)
                             .In(kMonthGroup)
                             .At(0, 0);
  ControlRow yearYear = Edit(IDC_DLOCK_YEAR_YEAR, "年:", ValueKind::kInt)
                            .Spin(IDC_DLOCK_YEAR_YEAR_SPIN, kFirstYear, kLastYear)
                            .In(kYearGroup)
                            .At(0, 0);
  if (f.cardPage) {
    monthYear.Range(kFirstYear, kLastYear);
    yearYear.Range(kFirstYear, kLastYear);
  }
  page.controls = {
      Group(kClockGroup, "日期时间设置").At(0, 0),
      DatePicker(IDC_DLOCK_DATE).In(kClockGroup).At(0, 0, 2),
      TimePicker(IDC_DLOCK_TIME).In(kClockGroup).At(1, 0),
      Group(kSlotGroup, "工作时段设置").At(0, 1),
      Combo(IDC_DLOCK_HYGIENE, "卫生:", NumberItems(0, 23), 5).In(kSlotGroup).At(0, 0),
      Combo(IDC_DLOCK_WORK, "工作:", NumberItems(0, 23), 10).In(kSlotGroup).At(0, 2),
      Combo(IDC_DLOCK_OVERTIME, "加班:", NumberItems(0, 23), 16).In(kSlotGroup).At(1, 0),
      Combo(IDC_DLOCK_REST, "休息:", NumberItems(0, 23), 23).In(kSlotGroup).At(1, 2),
      Group(kMonthGroup, "月工作日设置").At(1, 0),
      monthYear,
      Combo(IDC_DLOCK_MONTH, "月:", NumberItems(1, 12), 0).In(kMonthGroup).At(0, 2),
      Edit(IDC_DLOCK_MONTH_DATA, "数据:", ValueKind::kText).In(kMonthGroup).At(1, 0, 3),
      Group(kYearGroup, "年工作日设置").At(1, 1),
      yearYear,
      Edit(IDC_DLOCK_YEAR_DATA, "数据:", ValueKind::kText).In(kYearGroup).At(1, 0, 3),
      Group(kStatusGroup, "状态和操作").At(2, 0, 2),
      Icon(IDC_DLOCK_STATE, "状态").In(kStatusGroup).At(0, 0),
      Icon(IDC_DLOCK_BELL, "门铃").In(kStatusGroup).At(0, 2),
      Edit(IDC_DLOCK_INFO, "", ValueKind::kText).Widest("门外开门, 卡号: 4294967295, 卡ID: 4294967295").At(4, 0, 2),
  };
  const auto failure = [&f](const char* operation) { return Failure(f, operation); };
  // The door's buttons: beside the icons, or below them where the card
  // page has its third icon.
  const struct {
    int row;
    int column;
    int span;
  } door = f.cardPage ? decltype(door){1, 0, 2} : decltype(door){0, 4, 1};
  page.buttons = {
      Command(
          IDC_DLOCK_SET_TIME, "设置",
          [setTime = f.setTime](KitPage& p) { return p.Send(Api().*setTime, ClockText(p).c_str()); },
          failure("设置时间"))
          .In(kClockGroup)
          .At(1, 1),
      Command(
          f.slotButtonId, "设置",
          [setSlots = f.setSlots](KitPage& p) {
            return p.Send(Api().*setSlots, SlotHour(p, IDC_DLOCK_HYGIENE), SlotHour(p, IDC_DLOCK_WORK),
                          SlotHour(p, IDC_DLOCK_OVERTIME), SlotHour(p, IDC_DLOCK_REST));
          },
          failure("设置时间间隔"))
          .In(kSlotGroup)
          .At(1, 4),
      Button(IDC_DLOCK_MONTH_MORE, "...").NoHandler().In(kMonthGroup).At(1, 4),
      Command(
          IDC_DLOCK_SET_MONTH, "设置", [setMonth = f.setMonth](KitPage& p) { return SendMonth(p, setMonth); },
          failure("设置月工作日"))
          .In(kMonthGroup)
          .At(0, 4),
      Button(IDC_DLOCK_YEAR_MORE, "...").NoHandler().In(kYearGroup).At(1, 4),
      // The year's workdays, then after a pause the chosen month's; the
      // year's failure line follows the month's.
      Button(IDC_DLOCK_SET_YEAR, "设置")
          .Reads(ReadPage::kBeforeCheck)
          .Calls([setYear = f.setYear](KitPage& p) { return SendYear(p, setYear); })
          .After([line = failure("设置年工作日")](KitPage& p, int result) {
            static_cast<DoorLockPage&>(p).PauseBeforeMonth();
            p.Press(IDC_DLOCK_SET_MONTH);
            if (result == -1) p.Log(line);
          })
          .In(kYearGroup)
          .At(0, 4),
      Command(
          IDC_DLOCK_OPEN, "开门", [open = f.open](KitPage& p) { return p.Send(Api().*open); }, failure("开门"))
          .In(kStatusGroup)
          .At(door.row, door.column + 0 * door.span, door.span),
      Command(
          IDC_DLOCK_DOOR_STATUS, "获取状态",
          [doorStatus = f.doorStatus](KitPage& p) { return p.Send(Api().*doorStatus); }, failure("查询门状态"))
          .In(kStatusGroup)
          .At(door.row, door.column + 1 * door.span, door.span),
      Command(
          IDC_DLOCK_START_CAPTURE, "启动抓拍", [start = f.startCapture](KitPage& p) { return p.Send(Api().*start); },
          failure("开始捕获"))
          .In(kStatusGroup)
          .At(door.row, door.column + 2 * door.span, door.span),
      Command(
          IDC_DLOCK_STOP_CAPTURE, "停止抓拍", [stop = f.stopCapture](KitPage& p) { return p.Send(Api().*stop); },
          failure("停止捕获"))
          .In(kStatusGroup)
          .At(door.row, door.column + 3 * door.span, door.span),
  };

  const bool cardPage = f.cardPage;
  page.replies = {
      On("cardopen", {SetIcon(IDC_DLOCK_STATE, IconState::kOn),
                      SetText(IDC_DLOCK_INFO,
                              [](const std::string& text) {
                                return TextOfWord(text, "position", kPositions) +
                                       Format(", 卡号: %u, 卡ID: %u",
                                              CCMParser::GetDataElementValueUInt(text, "cardnum"),
                                              CCMParser::GetDataElementValueUInt(text, "cardid"));
                              })}),
      On("cardrequest", {SetText(IDC_DLOCK_INFO,
                                 [](const std::string& text) {
                                   return Format("卡号: %u, 卡ID: %u",
                                                 CCMParser::GetDataElementValueUInt(text, "cardnum"),
                                                 CCMParser::GetDataElementValueUInt(text, "cardid"));
                                 }),
                         [cardPage](KitPage& p, const std::string&) {
                           if (cardPage) p.SetIconState(IDC_DLOCK_AUTHORISED, IconState::kOn);
                         }}),
      On("externcard", {SetText(IDC_DLOCK_INFO,
                                [](const std::string& text) {
                                  return Format("外来卡, 卡ID: %u", CCMParser::GetDataElementValueUInt(text, "cardid"));
                                })}),
      On("alarm", {Switch("info", Words::kIgnoringCase,
                          LogCases({{"DoorBroken", "DLOCK: 门被恶开"},
                                    {"ReaderBroken", "DLOCK: 读卡器被恶拆"},
                                    {"Capture", "DLOCK: 抓拍警报"}}))}),
      On("fault", {Switch("info", Words::kIgnoringCase,
                          LogCases({{"ReaderKey", "DLOCK: 门上读卡器键故障"},
                                    {"ReaderUART", "DLOCK: 门上读卡器串口故障"},
                                    {"CCMemory", "DLOCK: 门上中控器E2PROM故障"},
                                    {"CCRTC", "DLOCK: 门上中控器RTC故障"},
                                    {"OpenFail", "DLOCK: 门锁不落故障（门合）"},
                                    {"CloseFail", "DLOCK: 门锁不开故障"}}))}),
      On("operationresult", {LogText([](const std::string& text) {
           return TextOfWord(text, "operation", kOperations) + TextOfWord(text, "status", kResults);
         })}),
      On("status",
         {Switch("info", Words::kIgnoringCase,
                 {
                     {"Ring", {SetIcon(IDC_DLOCK_BELL, IconState::kOn), LogLine("DLOCK: 门铃请求")}},
                     {"IndoorOpen", {SetIcon(IDC_DLOCK_STATE, IconState::kOn), LogLine("DLOCK: 门内开关开门")}},
                     {"DoorOpen", {SetIcon(IDC_DLOCK_STATE, IconState::kOn), LogLine("DLOCK: 门开信息")}},
                     {"DoorClose", {SetIcon(IDC_DLOCK_STATE, IconState::kOff), LogLine("DLOCK: 门关信息")}},
                 })}),
  };
  page.onInit = [](KitPage& p) {
    const QDateTime now = static_cast<DoorLockPage&>(p).Now();
    const QDate date = now.date();
    const QTime time = now.time();
    const PickedDateTime picked{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
    p.DateTime(IDC_DLOCK_DATE) = picked;
    p.DateTime(IDC_DLOCK_TIME) = picked;
    p.Int(IDC_DLOCK_MONTH_YEAR) = date.year();
    p.Int(IDC_DLOCK_MONTH) = date.month() - 1;
    p.Int(IDC_DLOCK_YEAR_YEAR) = date.year();
    p.ShowAllValues();
  };
}

PageDescription DescribeCardLock() {
  const DoorLockFamily& f = kCardLock;
  PageDescription page;
  DescribeCommon(f, page);
  page.controls.insert(page.controls.end(),
                       {
                           Icon(IDC_DLOCK_AUTHORISED, "授权").In(kStatusGroup).At(0, 4),
                           Group(kOwnGroup, "卡号管理").At(3, 0, 2),
                           Edit(IDC_DLOCK_CARD_ATTRIBUTE, "属性:", ValueKind::kText).In(kOwnGroup).At(0, 0),
                           Edit(IDC_DLOCK_CARD_NUMBER, "卡号:", ValueKind::kText).In(kOwnGroup).At(0, 2),
                           Edit(IDC_DLOCK_CARD_ID, "卡ID:", ValueKind::kText).In(kOwnGroup).At(0, 4),
                       });
  page.buttons.insert(
      page.buttons.end(),
      {
          Button(IDC_DLOCK_AUTHORISE, "授权确认").NoHandler().In(kStatusGroup).At(0, 6),
          Command(
              IDC_DLOCK_ADD_CARD, "添加",
              [](KitPage& p) {
                return p.Send(Api().CM_IOT_DAC_AddCard, CardAttribute(p.TextValue(IDC_DLOCK_CARD_ATTRIBUTE)), 0,
                              CardNumber(p.TextValue(IDC_DLOCK_CARD_NUMBER)),
                              CardNumber(p.TextValue(IDC_DLOCK_CARD_ID)));
              },
              Failure(f, "添加卡"))
              .In(kOwnGroup)
              .At(1, 0, 2),
          Command(
              IDC_DLOCK_REMOVE_CARD, "移除",
              [](KitPage& p) {
                return p.Send(Api().CM_IOT_DAC_RemoveCard, CardAttribute(p.TextValue(IDC_DLOCK_CARD_ATTRIBUTE)),
                              CardNumber(p.TextValue(IDC_DLOCK_CARD_NUMBER)),
                              CardNumber(p.TextValue(IDC_DLOCK_CARD_ID)));
              },
              Failure(f, "移除卡"))
              .In(kOwnGroup)
              .At(1, 2, 2),
      });
  page.replies.push_back(OnAnyName({}));
  for (ReplyRule& rule : page.replies) rule.actions.push_back(Show());
  return page;
}

PageDescription DescribeFingerprintLock() {
  const DoorLockFamily& f = kFingerprintLock;
  PageDescription page;
  DescribeCommon(f, page);
  page.controls.insert(page.controls.end(),
                       {
                           Group(kOwnGroup, "用户管理").At(3, 0, 2),
                           Edit(IDC_DLOCK_USER, "用户ID:", ValueKind::kInt).In(kOwnGroup).At(0, 0),
                           Edit(IDC_DLOCK_USER_COUNT, "用户数:", ValueKind::kInt).In(kOwnGroup).At(0, 2),
                           Edit(IDC_DLOCK_MATCHING, "匹配度:", ValueKind::kInt).In(kOwnGroup).At(0, 4),
                           Edit(IDC_DLOCK_PERMISSION, "权限:", ValueKind::kUInt).In(kOwnGroup).At(0, 6),
                           Edit(IDC_DLOCK_FEATURE, "特征值:", ValueKind::kText).In(kOwnGroup).At(1, 0, 7),
                           Edit(IDC_DLOCK_FEATURE_NVSID, "NvsId:", ValueKind::kUInt).In(kOwnGroup).At(2, 0),
                           Edit(IDC_DLOCK_FEATURE_NETID, "NetId:", ValueKind::kUInt).In(kOwnGroup).At(2, 2),
                           Edit(IDC_DLOCK_FEATURE_NODID, "NodId:", ValueKind::kUInt).In(kOwnGroup).At(2, 4),
                       });
  const auto failure = [&f](const char* operation) { return Failure(f, operation); };
  const auto user = [](KitPage& p) { return p.Int(IDC_DLOCK_USER); };
  page.buttons.insert(
      page.buttons.end(),
      {
          Command(
              IDC_DLOCK_USER_COUNT_QUERY, "获取用户数",
              [](KitPage& p) { return p.Send(Api().CM_IOT_DLockFinger_QueryUserCount); }, failure("查询用户总数"))
              .In(kOwnGroup)
              .At(3, 0, 2),
          Command(
              IDC_DLOCK_REMOVE_USER, "删除指定用户",
              [user](KitPage& p) { return p.Send(Api().CM_IOT_DLockFinger_RemoveUser, user(p)); },
              failure("删除指定用户"))
              .In(kOwnGroup)
              .At(3, 2, 2),
          Command(
              IDC_DLOCK_REMOVE_ALL_USERS, "删除所有用户",
              [](KitPage& p) { return p.Send(Api().CM_IOT_DLockFinger_RemoveAllUser); }, failure("删除所有用户"))
              .In(kOwnGroup)
              .At(3, 4, 2),
          Command(
              IDC_DLOCK_PERMISSION_QUERY, "获取用户权限",
              [user](KitPage& p) { return p.Send(Api().CM_IOT_DLockFinger_QueryUserPermission, user(p)); },
              failure("查询用户权限"))
              .In(kOwnGroup)
              .At(3, 6, 2),
          Command(
              IDC_DLOCK_SET_MATCHING, "设置匹配级别",
              [](KitPage& p) { return p.Send(Api().CM_IOT_DLockFinger_SetMatchingLevel, p.Int(IDC_DLOCK_MATCHING)); },
              failure("设置匹配度"))
              .In(kOwnGroup)
              .At(4, 0, 2),
          Command(
              IDC_DLOCK_MATCHING_QUERY, "查询匹配级别",
              [](KitPage& p) { return p.Send(Api().CM_IOT_DLockFinger_QueryMatchingLevel); }, failure("查询匹配度"))
              .In(kOwnGroup)
              .At(4, 2, 2),
          // The feature goes to the node the page's own edits name.
          Command(
              IDC_DLOCK_SEND_FEATURE, "传送用户特征值",
              [user](KitPage& p) {
                return Api().CM_IOT_DLockFinger_SetFingerprintFeature(
                    theApp.m_hSession, p.UInt(IDC_DLOCK_FEATURE_NVSID),
                    static_cast<std::uint16_t>(p.UInt(IDC_DLOCK_FEATURE_NETID)),
                    static_cast<std::uint16_t>(p.UInt(IDC_DLOCK_FEATURE_NODID)), user(p),
                    static_cast<int>(p.UInt(IDC_DLOCK_PERMISSION)), p.TextValue(IDC_DLOCK_FEATURE).c_str());
              },
              failure("传送特征值"))
              .In(kOwnGroup)
              .At(4, 4, 2),
          Command(
              IDC_DLOCK_FEATURE_QUERY, "获取用户特征值",
              [user](KitPage& p) { return p.Send(Api().CM_IOT_DLockFinger_QueryFingerprintFeature, user(p)); },
              failure("查询特征值"))
              .In(kOwnGroup)
              .At(4, 6, 2),
      });
  page.replies.insert(page.replies.end(),
                      {
                          On(std::vector<std::string>{"FingerprintOpen", "PasswordOpen"},
                             {SetValue(IDC_DLOCK_USER, "userid"), SetPermission()}),
                          On("FingerprintFeature", {SetValue(IDC_DLOCK_USER, "userid"), SetPermission(),
                                                    SetValue(IDC_DLOCK_FEATURE, "data")}),
                          On("MatchLevel", {SetValue(IDC_DLOCK_MATCHING, "data")}),
                          On("UserCount", {SetValue(IDC_DLOCK_USER_COUNT, "data")}),
                          On("UserPermission", {SetValue(IDC_DLOCK_PERMISSION, "data")}),
                          OnAnyName({}),
                      });
  for (ReplyRule& rule : page.replies) rule.actions.push_back(Show());
  return page;
}

}  // namespace

DoorLockPage::DoorLockPage(const DoorLockFamily& family, PageDescription description, QWidget* parent)
    : KitPage(QString::fromUtf8(family.caption), family.dialogId, std::move(description), parent),
      m_pause([](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }),
      m_clock([] { return QDateTime::currentDateTime(); }) {}

CDLockPage::CDLockPage(QWidget* parent) : DoorLockPage(kCardLock, DescribeCardLock(), parent) {}

CDLockFingerPage::CDLockFingerPage(QWidget* parent)
    : DoorLockPage(kFingerprintLock, DescribeFingerprintLock(), parent) {}
