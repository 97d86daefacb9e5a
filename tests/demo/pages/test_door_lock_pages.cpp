// The door access pages: their buttons and exports (with the workday and
// card conversions and the pause between the year and the month), and the
// lock's replies made by the library's own decoders and by the stand-in's
// simulated locks.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "demo/pages/door_lock_pages.h"
#include "demo/shell/demo_dlg.h"
#include "library/api/commands_doorlock.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/pages/target_replies.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::Decoded;
using demotest::FakeApi;
using demotest::RecordedCall;

constexpr long long kHandle = 0x6000;
constexpr std::uint8_t kCardLockCode = 80;
constexpr std::uint8_t kFingerprintLockCode = 96;
const std::string kNotInitialised = "请先初始化模块!";

// The bytes of a hex text.
std::vector<std::uint8_t> Bytes(const std::string& hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

class DoorLockTest : public ::testing::Test {
 protected:
  DoorLockTest() {
    theApp.m_pMainWnd = &dialog;
    theApp.m_hSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
    theApp.NodeTarget = NodeTargetInfo{1000001, 1, 2};
    for (DoorLockPage* page : {static_cast<DoorLockPage*>(&card), static_cast<DoorLockPage*>(&finger)}) {
      page->SetClockForTesting([] { return QDateTime(QDate(2013, 5, 7), QTime(14, 3, 9)); });
      page->SetPauseForTesting([](std::chrono::milliseconds pause) {
        FakeApi::Record({"pause", {static_cast<long long>(pause.count())}});
      });
      page->EnsureCreated();
    }
  }

  static void Show(KitPage& page, const std::string& text) {
    page.QueueReply(text);
    page.OnDeviceReply(0, 0);
  }
  QString Log() { return dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->toPlainText(); }
  static QString Field(KitPage& page, int id) { return static_cast<QLineEdit*>(page.Widget(id))->text(); }
  static void Type(KitPage& page, int id, const char* text) {
    static_cast<QLineEdit*>(page.Widget(id))->setText(QString::fromUtf8(text));
  }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  FakeApi api;
  CDemoDlg dialog;
  CDLockPage card;
  CDLockFingerPage finger;
};

const std::string kZeros8(8, '0');
const std::string kZeros96(96, '0');

TEST_F(DoorLockTest, OpeningTakesTheClockTheSlotsAndTheCurrentMonth) {
  for (KitPage* page : {static_cast<KitPage*>(&card), static_cast<KitPage*>(&finger)}) {
    auto* date = static_cast<QDateTimeEdit*>(page->Widget(IDC_DLOCK_DATE));
    auto* time = static_cast<QDateTimeEdit*>(page->Widget(IDC_DLOCK_TIME));
    EXPECT_EQ(date->date(), QDate(2013, 5, 7));
    EXPECT_EQ(time->time(), QTime(14, 3, 9));
    const std::vector<std::pair<int, int>> chosen = {{IDC_DLOCK_HYGIENE, 5},
                                                     {IDC_DLOCK_WORK, 10},
                                                     {IDC_DLOCK_OVERTIME, 16},
                                                     {IDC_DLOCK_REST, 23},
                                                     {IDC_DLOCK_MONTH, 4}};
    for (const auto& [id, index] : chosen) {
      auto* combo = static_cast<QComboBox*>(page->Widget(id));
      EXPECT_EQ(combo->currentIndex(), index) << id;
    }
    EXPECT_EQ(static_cast<QComboBox*>(page->Widget(IDC_DLOCK_HYGIENE))->count(), 24);
    EXPECT_EQ(static_cast<QComboBox*>(page->Widget(IDC_DLOCK_MONTH))->count(), 12);
    EXPECT_EQ(Field(*page, IDC_DLOCK_MONTH_YEAR), "2013");
    EXPECT_EQ(Field(*page, IDC_DLOCK_YEAR_YEAR), "2013");
    for (int icon : {IDC_DLOCK_STATE, IDC_DLOCK_BELL}) EXPECT_EQ(page->IconStateOf(icon), IconState::kTemplate);
  }
  EXPECT_EQ(card.Caption().toStdString(), "安全防护::门禁");
  EXPECT_EQ(finger.Caption().toStdString(), "安全防护::指纹门禁");
}

// The handle and the target node, then `more`.
const std::vector<long long> kNode = {kHandle, 1000001, 1, 2};
std::vector<long long> AtNode(std::vector<long long> more) {
  std::vector<long long> args = kNode;
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

struct ButtonCase {
  int button;
  const char* caption;
  RecordedCall call;
  const char* failure;
};

void PressAll(KitPage& page, const std::vector<ButtonCase>& cases, const std::function<QString()>& log) {
  for (int result : {1, 0, -1}) {
    for (const ButtonCase& c : cases) {
      SCOPED_TRACE(c.call.name + " result " + std::to_string(result));
      FakeApi::SetResult(c.call.name, result);
      const int before = static_cast<int>(FakeApi::Calls().size());
      const QString logBefore = log();
      auto* button = page.findChild<QPushButton*>(QString::number(c.button));
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
      button->click();
      const std::vector<RecordedCall> calls = FakeApi::Calls();
      ASSERT_EQ(static_cast<int>(calls.size()), before + 1);
      EXPECT_EQ(calls.back(), c.call);
      const QString added = log().mid(logBefore.size());
      if (result == -1) {
        EXPECT_TRUE(added.contains(QString::fromUtf8(c.failure))) << added.toStdString();
      } else {
        EXPECT_TRUE(added.isEmpty()) << added.toStdString();
      }
    }
  }
}

TEST_F(DoorLockTest, FingerprintButtonsCallTheirExportsWithThePageValues) {
  finger.Int(IDC_DLOCK_USER) = 12;
  finger.Int(IDC_DLOCK_MATCHING) = 3;
  finger.UInt(IDC_DLOCK_PERMISSION) = 4;
  finger.TextValue(IDC_DLOCK_FEATURE) = "QUJD";
  finger.UInt(IDC_DLOCK_FEATURE_NVSID) = 7;
  finger.UInt(IDC_DLOCK_FEATURE_NETID) = 8;
  finger.UInt(IDC_DLOCK_FEATURE_NODID) = 9;
  finger.ShowAllValues();
  const std::vector<ButtonCase> cases = {
      {1119, "设置", {"CM_IOT_DLockFinger_SetTime", kNode, {"2013-05-07 14:03:09"}}, "指纹门禁节点: 设置时间错误!"},
      {1355,
       "设置",
       {"CM_IOT_DLockFinger_SetTimeInterval", AtNode({5, 10, 16, 23})},
       "指纹门禁节点: 设置时间间隔错误!"},
      {1120,
       "设置",
       {"CM_IOT_DLockFinger_SetWorkdayOfMonth", AtNode({13, 5, 4}), {}, {}, {Bytes(kZeros8)}},
       "指纹门禁节点: 设置月工作日错误!"},
      {1131, "开门", {"CM_IOT_DLockFinger_OpenDoor", kNode}, "指纹门禁节点: 开门错误!"},
      {1132, "获取状态", {"CM_IOT_DLockFinger_QueryDoorStatus", kNode}, "指纹门禁节点: 查询门状态错误!"},
      {1133, "启动抓拍", {"CM_IOT_DLockFinger_StartCapture", kNode}, "指纹门禁节点: 开始捕获错误!"},
      {1134, "停止抓拍", {"CM_IOT_DLockFinger_StopCapture", kNode}, "指纹门禁节点: 停止捕获错误!"},
      {1346, "获取用户数", {"CM_IOT_DLockFinger_QueryUserCount", kNode}, "指纹门禁节点: 查询用户总数错误!"},
      {1347, "删除指定用户", {"CM_IOT_DLockFinger_RemoveUser", AtNode({12})}, "指纹门禁节点: 删除指定用户错误!"},
      {1348, "删除所有用户", {"CM_IOT_DLockFinger_RemoveAllUser", kNode}, "指纹门禁节点: 删除所有用户错误!"},
      {1349,
       "获取用户权限",
       {"CM_IOT_DLockFinger_QueryUserPermission", AtNode({12})},
       "指纹门禁节点: 查询用户权限错误!"},
      {1351, "设置匹配级别", {"CM_IOT_DLockFinger_SetMatchingLevel", AtNode({3})}, "指纹门禁节点: 设置匹配度错误!"},
      {1352, "查询匹配级别", {"CM_IOT_DLockFinger_QueryMatchingLevel", kNode}, "指纹门禁节点: 查询匹配度错误!"},
      // The page's own node, not the target.
      {1353,
       "传送用户特征值",
       {"CM_IOT_DLockFinger_SetFingerprintFeature", {kHandle, 7, 8, 9, 12, 4}, {"QUJD"}},
       "指纹门禁节点: 传送特征值错误!"},
      {1354,
       "获取用户特征值",
       {"CM_IOT_DLockFinger_QueryFingerprintFeature", AtNode({12})},
       "指纹门禁节点: 查询特征值错误!"},
  };
  PressAll(finger, cases, [this] { return Log(); });
}

TEST_F(DoorLockTest, CardButtonsCallTheirExportsWithTheCardNumbersReadLittleEndian) {
  Type(card, IDC_DLOCK_CARD_ATTRIBUTE, "1F");
  Type(card, IDC_DLOCK_CARD_NUMBER, "123");  // bytes 0x01 0x23
  Type(card, IDC_DLOCK_CARD_ID, "01020304");
  const std::vector<ButtonCase> cases = {
      {1119, "设置", {"CM_IOT_DAC_SetTime", kNode, {"2013-05-07 14:03:09"}}, "门禁节点: 设置时间错误!"},
      {1036, "设置", {"CM_IOT_DAC_SetTimeInterval", AtNode({5, 10, 16, 23})}, "门禁节点: 设置时间间隔错误!"},
      {1120,
       "设置",
       {"CM_IOT_DAC_SetWorkdayOfMonth", AtNode({13, 5, 4}), {}, {}, {Bytes(kZeros8)}},
       "门禁节点: 设置月工作日错误!"},
      {1125, "添加", {"CM_IOT_DAC_AddCard", AtNode({0x1F, 0, 0x2301, 0x04030201})}, "门禁节点: 添加卡错误!"},
      {1126, "移除", {"CM_IOT_DAC_RemoveCard", AtNode({0x1F, 0x2301, 0x04030201})}, "门禁节点: 移除卡错误!"},
      {1131, "开门", {"CM_IOT_DAC_Open", kNode}, "门禁节点: 开门错误!"},
      {1132, "获取状态", {"CM_IOT_DAC_GetDoorStatus", kNode}, "门禁节点: 查询门状态错误!"},
      {1133, "启动抓拍", {"CM_IOT_DAC_StartCapture", kNode}, "门禁节点: 开始捕获错误!"},
      {1134, "停止抓拍", {"CM_IOT_DAC_StopCapture", kNode}, "门禁节点: 停止捕获错误!"},
  };
  PressAll(card, cases, [this] { return Log(); });
}

TEST_F(DoorLockTest, TheClockJoinsThePickedDateWithThePickedTimeOfDay) {
  // Unlike the opening clock and unlike each other in every part, so that a
  // part read from the wrong picker shows.
  const QDate date(2021, 11, 28);
  const QTime time(8, 45, 30);
  struct Case {
    KitPage* page;
    const char* name;
  };
  const std::vector<Case> cases = {{&card, "CM_IOT_DAC_SetTime"}, {&finger, "CM_IOT_DLockFinger_SetTime"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeApi fresh;
    auto* datePicker = c.page->findChild<QDateEdit*>(QString::number(IDC_DLOCK_DATE));
    auto* timePicker = c.page->findChild<QTimeEdit*>(QString::number(IDC_DLOCK_TIME));
    auto* set = c.page->findChild<QPushButton*>(QString::number(IDC_DLOCK_SET_TIME));
    ASSERT_NE(datePicker, nullptr);
    ASSERT_NE(timePicker, nullptr);
    ASSERT_NE(set, nullptr);
    datePicker->setDate(date);
    timePicker->setTime(time);
    set->click();
    const std::vector<RecordedCall> calls = FakeApi::Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, c.name);
    EXPECT_EQ(calls[0].args, kNode);
    EXPECT_EQ(calls[0].texts, std::vector<std::string>{"2021-11-28 08:45:30"});
  }
}

TEST_F(DoorLockTest, ButtonsWithoutAHandlerDoNothing) {
  theApp.m_hSession = nullptr;
  for (int id : {IDC_DLOCK_AUTHORISE, IDC_DLOCK_MONTH_MORE, IDC_DLOCK_YEAR_MORE}) card.Press(id);
  for (int id : {IDC_DLOCK_MONTH_MORE, IDC_DLOCK_YEAR_MORE}) finger.Press(id);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_TRUE(ui.messages.isEmpty());
  EXPECT_EQ(card.findChild<QPushButton*>(QStringLiteral("1130"))->text(), QString::fromUtf8("授权确认"));
}

TEST_F(DoorLockTest, WithoutASessionNothingIsSent) {
  theApp.m_hSession = nullptr;
  for (int id : {1119, 1036, 1120, 1121, 1125, 1126, 1131, 1132, 1133, 1134}) card.Press(id);
  for (int id : {1119, 1355, 1120, 1121, 1131, 1132, 1133, 1134, 1346, 1347, 1348, 1349, 1351, 1352, 1353, 1354})
    finger.Press(id);
  EXPECT_TRUE(FakeApi::Calls().empty());  // the year's neither pauses nor sends the month
  EXPECT_EQ(ui.messages.size(), 26);
  for (const QString& message : ui.messages) EXPECT_EQ(message.toStdString(), kNotInitialised);
}

TEST_F(DoorLockTest, MonthWorkdaysGoThroughTheSharedHexConversion) {
  struct Case {
    const char* text;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"FFFFFFFF", "FFFFFFFF"},
      {"0102030405", "01020304"},  // only the first four bytes count
      {"ABC", "0ABC0000"},         // an odd text as if it had a leading zero
      {"1x", "10000000"},          // a character that is no hex digit counts 0
      {"", kZeros8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FakeApi fresh;
    Type(finger, IDC_DLOCK_MONTH_DATA, c.text);
    finger.Press(IDC_DLOCK_SET_MONTH);
    EXPECT_EQ(
        FakeApi::Calls(),
        (std::vector<RecordedCall>{
            {"CM_IOT_DLockFinger_SetWorkdayOfMonth", {kHandle, 1000001, 1, 2, 13, 5, 4}, {}, {}, {Bytes(c.bytes)}}}));
  }
}

TEST_F(DoorLockTest, YearWorkdaysThenAfterThePauseTheMonth) {
  const std::string digits96 = [] {
    std::string text;
    for (int i = 0; i < 48; ++i) text += i % 2 ? "A5" : "3C";
    return text;
  }();
  struct Case {
    std::string text;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {digits96, digits96},
      {digits96 + "FFFF", digits96},  // cut at the 48 bytes
      {"", kZeros96},
      {"A", kZeros96},                         // fewer than two characters
      {"ABC", "ABC0" + std::string(92, '0')},  // from the start, unlike the month's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FakeApi fresh;
    Type(card, IDC_DLOCK_YEAR_DATA, c.text.c_str());
    Type(card, IDC_DLOCK_YEAR_YEAR, "2012");
    Type(card, IDC_DLOCK_MONTH_DATA, "ABC");
    card.Press(IDC_DLOCK_SET_YEAR);
    EXPECT_EQ(FakeApi::Calls(),
              (std::vector<RecordedCall>{
                  {"CM_IOT_DAC_SetWorkdayOfYear", {kHandle, 1000001, 1, 2, 12, 48}, {}, {}, {Bytes(c.bytes)}},
                  {"pause", {500}},
                  {"CM_IOT_DAC_SetWorkdayOfMonth", {kHandle, 1000001, 1, 2, 13, 5, 4}, {}, {}, {Bytes("0ABC0000")}},
              }));
  }
}

TEST_F(DoorLockTest, AFailedYearIsLoggedAfterTheMonth) {
  FakeApi::SetResult("CM_IOT_DLockFinger_SetWorkdayOfYear", -1);
  FakeApi::SetResult("CM_IOT_DLockFinger_SetWorkdayOfMonth", -1);
  finger.Press(IDC_DLOCK_SET_YEAR);
  const QString log = Log();
  const auto month = log.indexOf(QString::fromUtf8("指纹门禁节点: 设置月工作日错误!"));
  const auto year = log.indexOf(QString::fromUtf8("指纹门禁节点: 设置年工作日错误!"));
  ASSERT_GE(month, 0) << log.toStdString();
  EXPECT_GT(year, month) << log.toStdString();
  // A failed month alone gives only its own line.
  FakeApi::SetResult("CM_IOT_DLockFinger_SetWorkdayOfYear", 1);
  const QString before = Log();
  finger.Press(IDC_DLOCK_SET_YEAR);
  const QString added = Log().mid(before.size());
  EXPECT_TRUE(added.contains(QString::fromUtf8("设置月工作日错误!")));
  EXPECT_FALSE(added.contains(QString::fromUtf8("设置年工作日错误!")));
}

TEST_F(DoorLockTest, CardPageYearsOutOfRangeSendNothingAndAreToldBeforeTheSession) {
  for (int edit : {IDC_DLOCK_MONTH_YEAR, IDC_DLOCK_YEAR_YEAR}) {
    SCOPED_TRACE(edit);
    FakeApi fresh;
    ui.messages.clear();
    Type(card, IDC_DLOCK_MONTH_YEAR, "2013");
    Type(card, IDC_DLOCK_YEAR_YEAR, "2013");
    Type(card, edit, "2100");
    card.Press(IDC_DLOCK_OPEN);
    card.Press(IDC_DLOCK_SET_YEAR);
    EXPECT_TRUE(FakeApi::Calls().empty());
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[0].contains(QStringLiteral("1970")) && ui.messages[0].contains(QStringLiteral("2038")))
        << ui.messages[0].toStdString();
    // The read comes before the session check.
    theApp.m_hSession = nullptr;
    ui.messages.clear();
    card.Press(IDC_DLOCK_OPEN);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_NE(ui.messages[0].toStdString(), kNotInitialised);
    theApp.m_hSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
  }
  // The fingerprint page checks no range.
  Type(finger, IDC_DLOCK_YEAR_YEAR, "2100");
  ui.messages.clear();
  finger.Press(IDC_DLOCK_SET_YEAR);
  EXPECT_TRUE(ui.messages.isEmpty());
  EXPECT_EQ(FakeApi::CallsOf("CM_IOT_DLockFinger_SetWorkdayOfYear").at(0).args.at(4), 0);  // 2100 % 100
}

TEST_F(DoorLockTest, CardEventsShowInTheInformationLine) {
  // The card lock's "cardopen" carries the card id alone.
  Show(card, Decoded(kCardLockCode, 0x55, {80, 4, 0, 0, 0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(Field(card, IDC_DLOCK_INFO).toStdString(), ", 卡号: 0, 卡ID: 16909060");
  EXPECT_EQ(card.IconStateOf(IDC_DLOCK_STATE), IconState::kOn);
  // Words no decoder sends, typed into the decoder's text.
  std::string withPosition = Decoded(kCardLockCode, 0x55, {80, 4, 0, 0, 9, 0, 0, 0});
  const std::string position =
      R"("position":{"precision":0,"subtype":"","type":"string","unit":"","value":"OutDoor"},)";
  withPosition.insert(withPosition.find("\"data\":{") + 8, position);
  Show(card, withPosition);
  EXPECT_EQ(Field(card, IDC_DLOCK_INFO).toStdString(), "门外开门, 卡号: 0, 卡ID: 9");
  std::string request = Decoded(kCardLockCode, 0x55, {80, 4, 0, 0, 9, 0, 0, 0});
  request.replace(request.find("cardopen"), 8, "CardRequest");
  Show(card, request);
  EXPECT_EQ(Field(card, IDC_DLOCK_INFO).toStdString(), "卡号: 0, 卡ID: 9");
  EXPECT_EQ(card.IconStateOf(IDC_DLOCK_AUTHORISED), IconState::kOn);
  Show(finger, request);
  EXPECT_EQ(Field(finger, IDC_DLOCK_INFO).toStdString(), "卡号: 0, 卡ID: 9");
  request.replace(request.find("CardRequest"), 11, "externcard");
  Show(card, request);
  EXPECT_EQ(Field(card, IDC_DLOCK_INFO).toStdString(), "外来卡, 卡ID: 9");
}

TEST_F(DoorLockTest, AlarmsFaultsStatesAndOperationResultsAreLogged) {
  struct Case {
    KitPage* page;
    std::uint8_t code;
    std::uint8_t function;
    std::uint8_t result;  // payload byte 1
    const char* line;     // "" for nothing
  };
  const std::vector<Case> cases = {
      {&card, kCardLockCode, 0x10, 0, "DLOCK: 门被恶开"},
      {&card, kCardLockCode, 0x11, 0, "DLOCK: 读卡器被恶拆"},
      {&card, kCardLockCode, 0x12, 0, ""},  // "Snapshot"
      {&finger, kFingerprintLockCode, 0x12, 0, "DLOCK: 抓拍警报"},
      {&card, kCardLockCode, 0x20, 0, "DLOCK: 门上读卡器键故障"},
      {&card, kCardLockCode, 0x21, 0, "DLOCK: 门上读卡器串口故障"},
      {&finger, kFingerprintLockCode, 0x22, 0, "DLOCK: 门上中控器E2PROM故障"},
      {&finger, kFingerprintLockCode, 0x23, 0, "DLOCK: 门上中控器RTC故障"},
      {&card, kCardLockCode, 0x24, 0, "DLOCK: 门锁不落故障（门合）"},
      {&card, kCardLockCode, 0x25, 0, "DLOCK: 门锁不开故障"},
      {&card, kCardLockCode, 0x30, 0x55, "DLOCK: 门的RTC授时成功"},
      {&card, kCardLockCode, 0x33, 0xAA, "DLOCK: 全年的工作日记录信息失败"},
      {&card, kCardLockCode, 0x34, 0x55, "成功"},  // "AddSuperCard" is not in the table
      {&card, kCardLockCode, 0x3F, 0x12, "DLOCK: 门状态信息应答"},
      {&finger, kFingerprintLockCode, 0x35, 0x55, "DLOCK: 启动抓拍指令执行成功"},
      {&finger, kFingerprintLockCode, 0x36, 0x55, "DLOCK: 撤消抓拍指令执行成功"},
      {&finger, kFingerprintLockCode, 0x38, 0xAA, "失败"},
      {&card, kCardLockCode, 0x40, 0, "DLOCK: 门铃请求"},
      {&card, kCardLockCode, 0x41, 0, "DLOCK: 门内开关开门"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const QString before = Log();
    Show(*c.page, Decoded(c.code, c.function, {c.code, c.result, 0, 0}));
    const QString added = Log().mid(before.size()).trimmed();
    if (*c.line == '\0') {
      EXPECT_TRUE(added.isEmpty()) << added.toStdString();
    } else {
      EXPECT_TRUE(added.endsWith(QString::fromUtf8(c.line))) << added.toStdString();
      EXPECT_FALSE(added.contains('\n')) << added.toStdString();
    }
  }
  EXPECT_EQ(card.IconStateOf(IDC_DLOCK_BELL), IconState::kOn);
}

TEST_F(DoorLockTest, DoorOpenThenDoorCloseTurnsTheStateIconOnThenOff) {
  struct Step {
    std::uint8_t function;
    IconState icon;
    const char* line;
  };
  const std::vector<Step> steps = {{0x42, IconState::kOn, "DLOCK: 门开信息"}, {0x43, IconState::kOff, "DLOCK: 门关信息"}};
  for (KitPage* page : {static_cast<KitPage*>(&card), static_cast<KitPage*>(&finger)}) {
    const std::uint8_t code = page == &card ? kCardLockCode : kFingerprintLockCode;
    for (const Step& step : steps) {
      SCOPED_TRACE(std::string(page == &card ? "card page: " : "fingerprint page: ") + step.line);
      // Only the line this reply adds counts, not one an earlier page logged.
      const QString before = Log();
      Show(*page, Decoded(code, step.function, {code, 0, 0, 0}));
      EXPECT_EQ(page->IconStateOf(IDC_DLOCK_STATE), step.icon);
      const QString added = Log().mid(before.size()).trimmed();
      EXPECT_TRUE(added.endsWith(QString::fromUtf8(step.line))) << added.toStdString();
      EXPECT_FALSE(added.contains('\n')) << added.toStdString();
    }
  }
}

TEST_F(DoorLockTest, OpenEventsFillUserAndPermissionUnderEitherSpelling) {
  // The decoder writes the open events' permission as "permision".
  Show(finger, Decoded(kFingerprintLockCode, 0x50, {96, 3, 0, 0, 0x2A, 0x00, 3}));
  EXPECT_EQ(Field(finger, IDC_DLOCK_USER), "42");
  EXPECT_EQ(Field(finger, IDC_DLOCK_PERMISSION), "3");
  Show(finger, Decoded(kFingerprintLockCode, 0x51, {96, 3, 0, 0, 0x07, 0x00, 5}));
  EXPECT_EQ(Field(finger, IDC_DLOCK_USER), "7");
  EXPECT_EQ(Field(finger, IDC_DLOCK_PERMISSION), "5");
  std::string spelled = Decoded(kFingerprintLockCode, 0x50, {96, 3, 0, 0, 0x01, 0x00, 6});
  spelled.replace(spelled.find("permision"), 9, "permission");
  Show(finger, spelled);
  EXPECT_EQ(Field(finger, IDC_DLOCK_PERMISSION), "6");
  // The card page knows none of the fingerprint messages.
  const QString info = Field(card, IDC_DLOCK_INFO);
  const QString log = Log();
  Show(card, Decoded(kFingerprintLockCode, 0x50, {96, 3, 0, 0, 0x2A, 0x00, 3}));
  EXPECT_EQ(Field(card, IDC_DLOCK_INFO), info);
  EXPECT_EQ(Log(), log);
  EXPECT_EQ(card.Widget(IDC_DLOCK_USER), nullptr);
}

TEST_F(DoorLockTest, UserRepliesFillTheUserFields) {
  testsupport::SimulatedDevice lock(kFingerprintLockCode, 1, 2, 1000001);
  for (const std::string& text : lock.Send(DLockFingerSetMatchingLevel(9))) Show(finger, text);
  for (const std::string& text : lock.Send(DLockFingerQueryMatchingLevel())) Show(finger, text);
  EXPECT_EQ(Field(finger, IDC_DLOCK_MATCHING), "9");
  Show(finger, Decoded(kFingerprintLockCode, 0x54, {96, 2, 0, 0, 0x10, 0x01}));
  EXPECT_EQ(Field(finger, IDC_DLOCK_USER_COUNT), "272");
  Show(finger, Decoded(kFingerprintLockCode, 0x55, {96, 1, 0, 0, 8}));
  EXPECT_EQ(Field(finger, IDC_DLOCK_PERMISSION), "8");
  // A feature arrives in six parts; the last one fills user, permission and data.
  const std::vector<std::string> feature = lock.Send(DLockFingerQueryFingerprintFeature(5));
  ASSERT_FALSE(feature.empty());
  for (const std::string& text : feature) Show(finger, text);
  EXPECT_EQ(Field(finger, IDC_DLOCK_USER), "5");
  EXPECT_EQ(Field(finger, IDC_DLOCK_FEATURE).size(), 260);
}

}  // namespace
