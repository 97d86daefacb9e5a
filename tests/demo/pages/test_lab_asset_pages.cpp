// The positioning, entry and exit and card-power pages: their commands, the
// card-power page's mode controls and length check, and the replies of the
// library's decoders as rows, values, icons and log lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

#include "demo/pages/card_power_page.h"
#include "demo/pages/lab_asset_pages.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/pages/target_replies.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::Decoded;
using demotest::Renamed;
using demotest::FakeApi;
using demotest::RecordedCall;

constexpr std::uint8_t kPositioning = 90;
constexpr std::uint8_t kInOut = 100;
constexpr std::uint8_t kCardPower = 86;

class LabAssetPagesTest : public demotest::PageFixture {
 protected:
  LabAssetPagesTest() {
    inOut.SetLocalNow([] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); });
    for (KitPage* page : std::initializer_list<KitPage*>{&positioning, &inOut, &power}) page->EnsureCreated();
  }

  QLineEdit* EditOf(KitPage& page, int id) { return &Control<QLineEdit>(page, id); }
  QComboBox* ComboOf(int id) { return power.findChild<QComboBox*>(QString::number(id)); }
  void ChooseMode(int radioId) { power.findChild<QRadioButton*>(QString::number(radioId))->click(); }
  void ChooseTiming(int index) {
    ComboOf(1249)->setCurrentIndex(index);
    emit ComboOf(1249)->activated(index);
  }
  std::vector<std::string> Row(KitPage& page, int row) {
    std::vector<std::string> cells;
    QTableWidget* list = page.ListView(1078);
    for (int c = 0; c < list->columnCount(); ++c) cells.push_back(list->item(row, c)->text().toStdString());
    return cells;
  }
  // The ids of the mode group's lists and edits that are enabled.
  std::vector<int> EnabledTimeControls() {
    std::vector<int> enabled;
    for (int id : {1249, 1243, 1244, 1245, 1246, 1247, 1248, 1255, 1256, 1257}) {
      if (power.Widget(id)->isEnabled()) enabled.push_back(id);
    }
    return enabled;
  }

  CDevPstPage positioning;
  CDevIOPage inOut;
  CICReadPage power;
};

TEST_F(LabAssetPagesTest, ButtonsSendTheirCommandsAndReportNothing) {
  struct Case {
    KitPage* page;
    int button;
    RecordedCall call;
  };
  EditOf(inOut, 1147)->setText("11");
  EditOf(inOut, 1148)->setText("12");
  EditOf(inOut, 1149)->setText("13");
  EditOf(inOut, 1150)->setText("14");
  const std::vector<Case> cases = {
      {&positioning, 1144, {"CM_IOT_DEVPST_Ctrl", Node({1})}},
      {&positioning, 1048, {"CM_IOT_DEVPST_Ctrl", Node({0})}},
      {&inOut, 1152, {"CM_IOT_DEVIO_Ctrl", Node({11, 12, 13, 14})}},
      {&power, 1131, {"CM_IOT_ICREAD_Ctrl", Node({1})}},
      {&power, 1199, {"CM_IOT_ICREAD_Ctrl", Node({0})}},
      {&power, 1213, {"CM_IOT_ICREAD_QueryStatus", Node({})}},
      {&power, 1270, {"CM_IOT_ICREAD_QueryConfig", Node({})}},
      {&power, 1254, {"CM_IOT_ICREAD_SetMode1", Node({}), {""}}},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi::SetResult(result);
      c.page->Press(c.button);
      EXPECT_EQ(FakeApi::Calls().back(), c.call);
    }
  }
  EXPECT_TRUE(LogLines().isEmpty());
  EXPECT_TRUE(ui.messages.isEmpty());
  inOut.Press(1057);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_DEVIO_GetInfo", Node({})}));
  // The update cleared the four fields and showed them.
  EXPECT_EQ(EditOf(inOut, 1147)->text(), QStringLiteral("0"));
  inOut.Press(1152);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_DEVIO_Ctrl", Node({0, 0, 0, 0})}));
}

TEST_F(LabAssetPagesTest, PowerButtonsSetThePendingIcon) {
  for (int button : {1131, 1199, 1213}) {
    power.SetIconState(1127, IconState::kOn);
    power.Press(button);
    EXPECT_EQ(power.IconStateOf(1127), IconState::kPending) << button;
  }
  power.SetIconState(1127, IconState::kOn);
  power.Press(1270);
  EXPECT_EQ(power.IconStateOf(1127), IconState::kOn);
}

TEST_F(LabAssetPagesTest, WithoutASessionTheListAndFieldsAreStillCleared) {
  Show(positioning, Decoded(kPositioning, 0x50, {0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 2, 4, 5, 6, 0, 7, 0, 1}));
  Show(inOut, Decoded(kInOut, 0x50, {0, 0, 0, 0, 9, 0, 8, 7, 6}));
  theApp.m_hSession = nullptr;
  positioning.Press(1144);
  inOut.Press(1057);
  power.Press(1254);
  EXPECT_EQ(positioning.ListView(1078)->rowCount(), 0);
  EXPECT_EQ(EditOf(inOut, 1147)->text(), QStringLiteral("0"));
  EXPECT_EQ(EditOf(inOut, 1150)->text(), QStringLiteral("0"));
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(ui.messages.size(), 3);
}

TEST_F(LabAssetPagesTest, PositioningRepliesGiveRowsAndLogLines) {
  Show(positioning, Decoded(kPositioning, 0x50, {0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 2, 4, 5, 6, 0, 7, 0, 1}));
  ASSERT_EQ(positioning.ListView(1078)->rowCount(), 1);
  EXPECT_EQ(Row(positioning, 0), (std::vector<std::string>{"3", "1", "2", "4", "5", "6", "7", "1"}));
  Show(positioning, Decoded(kPositioning, 0x30, {0, 0x55}));
  Show(positioning, Decoded(kPositioning, 0x41, {}));
  Show(positioning, Decoded(kPositioning, 0x20, {}));
  Show(positioning, demotest::NodeReply("DEVPST", "FAULT", {{"info", "Power"}}));
  Show(positioning, demotest::NodeReply("DEVPST", "operationfeedback", {{"info", "50%d"}, {"result", "%s"}}));
  EXPECT_EQ(LogLines(), LoggedLines({"DEVPST: startscan: success", "DEVPST: scanstopped", "DEVPST传感器故障!",
                                "DEVPST电源故障", "DEVPST: 50%d: %s"}));
}

TEST_F(LabAssetPagesTest, InOutRepliesGiveFieldsRowsAndLogLines) {
  Show(inOut, Decoded(kInOut, 0x50, {0, 0, 0, 0, 0x2C, 0x01, 8, 7, 6}));
  EXPECT_EQ(EditOf(inOut, 1147)->text(), QStringLiteral("300"));
  EXPECT_EQ(EditOf(inOut, 1148)->text(), QStringLiteral("8"));
  EXPECT_EQ(EditOf(inOut, 1149)->text(), QStringLiteral("7"));
  EXPECT_EQ(EditOf(inOut, 1150)->text(), QStringLiteral("6"));

  Show(inOut, Decoded(kInOut, 0x52, {0, 0, 0, 2, 77, 0}));
  ASSERT_EQ(inOut.ListView(1078)->rowCount(), 1);
  EXPECT_EQ(Row(inOut, 0), (std::vector<std::string>{"2026-03-04 05:06:07", "77", "this", "out"}));

  Show(inOut, Decoded(kInOut, 0x30, {}));
  Show(inOut, Decoded(kInOut, 0x31, {}));
  Show(inOut, Decoded(kInOut, 0x40, {}));
  for (std::uint8_t fault = 0x20; fault <= 0x23; ++fault) Show(inOut, Decoded(kInOut, fault, {}));
  Show(inOut, Decoded(kInOut, 0x10, {0, 0, 0, 0, 0x39, 0x30}));
  EXPECT_EQ(LogLines(), LoggedLines({
                            "DEVIO: 读卡器归属信息写入指令接收正常",
                            "DEVIO: 读卡器归属信息查询指令接收正常",
                            "DEVIO: 读卡器归属信息写入正确",
                            "DEVIO: 凌阳单片机与stm32串口通信故障!",
                            "DEVIO: STM32所属AT24C256故障!",
                            "DEVIO: STM32与RF900门内读卡器通信故障!",
                            "DEVIO: STM32与RF900门外读卡器通信故障!",
                            "DEVIO: 设备强行带出, 卡号:12345",
                        }));
}

TEST_F(LabAssetPagesTest, CardRecordsFillTheFieldsAndThePowerIcon) {
  // Card id 0x01020304, card number 513, power on, card text "AB", mode2day, errtime.
  Show(power, Decoded(kCardPower, 0x43, {4, 3, 2, 1, 1, 2, 1, 'A', 'B', 0, 0, 0, 0, 3, 2}));
  EXPECT_EQ(EditOf(power, 1263)->text(), QStringLiteral("16909060"));
  EXPECT_EQ(EditOf(power, 1264)->text(), QStringLiteral("513"));
  EXPECT_EQ(EditOf(power, 1265)->text(), QStringLiteral("AB"));
  EXPECT_EQ(EditOf(power, 1266)->text(), QStringLiteral("mode2day"));
  EXPECT_EQ(EditOf(power, 1267)->text(), QStringLiteral("errtime"));
  EXPECT_EQ(power.IconStateOf(1127), IconState::kOn);

  Show(power, Decoded(kCardPower, 0x50, {1, 8, 30, 5, 17, 45, 0, 'C', 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(EditOf(power, 1268)->text(), QStringLiteral("Mon 08:30"));
  EXPECT_EQ(EditOf(power, 1269)->text(), QStringLiteral("Fri 17:45"));
  EXPECT_EQ(EditOf(power, 1265)->text(), QStringLiteral("C"));
  EXPECT_EQ(power.IconStateOf(1127), IconState::kOff);

  Show(power, Renamed(Renamed(Decoded(kCardPower, 0x43, {5, 0, 0, 0, 1, 2, 1}),
                                                "\"powerstatus\":{", "\"other\":{"),
                               "\"powerstatus\"", "\"PowerStatus\""));
  EXPECT_EQ(power.IconStateOf(1127), IconState::kPending);
  EXPECT_EQ(EditOf(power, 1263)->text(), QStringLiteral("5"));

  Show(power, Decoded(kCardPower, 0x13, {}));
  EXPECT_EQ(LogLines(), LoggedLines({"ICREAD: 盒盖被打开"}));
}

TEST_F(LabAssetPagesTest, ModeControlsFollowTheModeAndTiming) {
  EXPECT_TRUE(EnabledTimeControls().empty());
  EXPECT_EQ(ComboOf(1249)->currentIndex(), -1);
  EXPECT_EQ(ComboOf(1243)->currentText(), QStringLiteral("星期日"));
  EXPECT_EQ(ComboOf(1247)->count(), 24);
  EXPECT_EQ(ComboOf(1248)->count(), 60);
  ChooseMode(1259);
  EXPECT_EQ(EnabledTimeControls(), (std::vector<int>{1255, 1256, 1257}));
  ChooseMode(1258);
  // The timing list only; the edits keep their state.
  EXPECT_EQ(EnabledTimeControls(), (std::vector<int>{1249, 1255, 1256, 1257}));
  ChooseTiming(0);
  EXPECT_EQ(EnabledTimeControls(), (std::vector<int>{1249, 1245, 1248, 1255, 1256, 1257}));
  ChooseTiming(1);
  EXPECT_EQ(EnabledTimeControls(), (std::vector<int>{1249, 1244, 1245, 1247, 1248, 1255, 1256, 1257}));
  ChooseTiming(2);
  EXPECT_EQ(EnabledTimeControls(), (std::vector<int>{1249, 1243, 1244, 1245, 1246, 1247, 1248, 1255, 1256, 1257}));
  ChooseMode(1253);
  EXPECT_TRUE(EnabledTimeControls().empty());
}

TEST_F(LabAssetPagesTest, WorkModeSendsTheValuesOfTheChosenMode) {
  EditOf(power, 1147)->setText(QString::fromUtf8("实验楼"));
  ChooseMode(1258);
  // Weekly: every list of the times is enabled.
  ChooseTiming(2);
  ComboOf(1243)->setCurrentIndex(2);
  ComboOf(1244)->setCurrentIndex(8);
  ComboOf(1245)->setCurrentIndex(30);
  ComboOf(1246)->setCurrentIndex(5);
  ComboOf(1247)->setCurrentIndex(17);
  ComboOf(1248)->setCurrentIndex(45);
  power.Press(1254);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_ICREAD_SetMode2", Node({4, 2, 8, 30, 5, 17, 45}), {"实验楼"}}));
  // Daily: the weekdays, disabled now, keep what was read.
  ChooseTiming(1);
  power.Press(1254);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_ICREAD_SetMode2", Node({3, 2, 8, 30, 5, 17, 45}), {"实验楼"}}));

  ChooseMode(1259);
  EditOf(power, 1255)->setText("2");
  EditOf(power, 1256)->setText("3");
  EditOf(power, 1257)->setText("4");
  power.Press(1254);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_ICREAD_SetMode3", Node({2, 3, 4}), {"实验楼"}}));

  ChooseMode(1253);
  power.Press(1254);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_ICREAD_SetMode1", Node({}), {"实验楼"}}));
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(LabAssetPagesTest, ASchoolTextOverSixCharactersIsRefused) {
  EditOf(power, 1147)->setText("ABCDEFG");
  power.Press(1254);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(ui.messages.size(), 1);
  EditOf(power, 1147)->setText("ABCDEF");
  power.Press(1254);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_ICREAD_SetMode1", Node({}), {"ABCDEF"}}));
}

}  // namespace
