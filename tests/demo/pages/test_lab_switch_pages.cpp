// The laboratory's switching pages: the camera cover, the water valve, the
// experiment box's power, the light switch and the AC contactor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QComboBox>
#include <QRadioButton>
#include <QPushButton>
#include <QSlider>

#include "demo/pages/lab_switch_pages.h"
#include "library/api/commands_laboratory.h"
#include "library/api/commands_switches.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::FakeApi;
using demotest::NodeReply;
using demotest::RecordedCall;
using demotest::ReplyNode;

class LabSwitchTest : public demotest::PageFixture {
 protected:
  LabSwitchTest() {
    for (KitPage* page : std::initializer_list<KitPage*>{&cover, &valve, &boxPower, &lightSwitch, &contactor})
      page->EnsureCreated();
  }

  // Every text queued before one drain.
  static void ShowAll(KitPage& page, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) page.QueueReply(text);
    page.OnDeviceReply(0, 0);
  }
  std::string Status() { return Control<QLineEdit>(cover, IDC_CC_STATUS).text().toStdString(); }
  int Position() { return Control<QSlider>(cover, IDC_CC_POSITION).value(); }

  CCCPage cover;
  CWaterPage valve;
  CControlTCPage boxPower;
  CSLRCPage lightSwitch;
  CControlPage contactor;
  const ReplyNode target{kNvsid, kNetId, kNodeAddress};
};

TEST_F(LabSwitchTest, ButtonsCallTheirExportsAndTurnTheirIconPending) {
  struct Case {
    KitPage* page;
    int button;
    const char* caption;
    RecordedCall call;
    int icon;
  };
  const std::vector<Case> cases = {
      {&cover, 1066, "开(&O)", {"CM_IOT_CC_Control", {kHandle, kNvsid, 1, 2, 1}}, 1067},
      {&cover, 1036, "关(&C)", {"CM_IOT_CC_Control", {kHandle, kNvsid, 1, 2, 0}}, 1067},
      {&cover, 1331, "获取状态", {"CM_IOT_CC_QueryStatus", {kHandle, kNvsid, 1, 2}}, 1067},
      {&valve, 1131, "打开(&O)", {"CM_IOT_WATER_Ctrl", {kHandle, kNvsid, 1, 2, 1}}, 1067},
      {&valve, 1199, "关闭(&C)", {"CM_IOT_WATER_Ctrl", {kHandle, kNvsid, 1, 2, 0}}, 1067},
      {&valve, 1213, "查询状态(&Q)", {"CM_IOT_WATER_QueryStatus", {kHandle, kNvsid, 1, 2}}, 1067},
      {&valve, 1211, "开启定时", {"CM_IOT_WATER_TimerCtrl", {kHandle, kNvsid, 1, 2, 1}}, 1214},
      {&valve, 1212, "停止定时", {"CM_IOT_WATER_TimerCtrl", {kHandle, kNvsid, 1, 2, 0}}, 1214},
      {&boxPower, 1066, "开(&O)", {"CM_IOT_CONTROLTC_Ctrl", {kHandle, kNvsid, 1, 2, 1}}, 1067},
      {&boxPower, 1036, "关(&C)", {"CM_IOT_CONTROLTC_Ctrl", {kHandle, kNvsid, 1, 2, 0}}, 1067},
      {&boxPower, 1100, "授权(&A)", {"CM_IOT_CONTROLTC_Ctrl", {kHandle, kNvsid, 1, 2, 2}}, 1067},
      {&boxPower, 1197, "获取状态(&R)", {"CM_IOT_CONTROLTC_QueryStatus", {kHandle, kNvsid, 1, 2}}, 1067},
      // The lamp export sends nothing to a node of another type and gives 0.
      {&lightSwitch, 1066, "开(&O)", {"CM_IOT_LAMP_Ctrl", {kHandle, kNvsid, 1, 2, 1}}, 1067},
      {&lightSwitch, 1036, "关(&C)", {"CM_IOT_LAMP_Ctrl", {kHandle, kNvsid, 1, 2, 0}}, 1067},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      c.page->SetIconState(1067, IconState::kOn);
      c.page->SetIconState(1214, IconState::kOn);
      auto& button = Control<QPushButton>(*c.page, c.button);
      EXPECT_EQ(button.text(), QString::fromUtf8(c.caption)) << c.call.name;
      button.click();
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{c.call}) << c.call.name;
      EXPECT_EQ(c.page->IconStateOf(c.icon), IconState::kPending) << c.call.name << " " << result;
      // Only the button's own icon.
      const int other = c.icon == 1067 ? 1214 : 1067;
      if (c.page == &valve) {
        EXPECT_EQ(c.page->IconStateOf(other), IconState::kOn) << c.call.name;
      }
    }
  }
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LabSwitchTest, WithoutASessionNothingIsSentAndNoIconChanges) {
  theApp.m_hSession = nullptr;
  const std::vector<std::pair<KitPage*, int>> presses = {
      {&cover, 1066}, {&cover, 1331}, {&valve, 1131}, {&valve, 1211}, {&valve, 1209},
      {&boxPower, 1100}, {&lightSwitch, 1036}};
  for (const auto& [page, button] : presses) page->Press(button);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages().size(), static_cast<int>(presses.size()));
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kTemplate);
  EXPECT_EQ(valve.IconStateOf(1214), IconState::kTemplate);
}

TEST_F(LabSwitchTest, ValveTimerSendsTheChosenItemsAndTheModePlusOne) {
  // Nothing chosen: every list -1, mode 0.
  valve.Press(IDC_WATER_SET_TIMER);
  const RecordedCall none{"CM_IOT_WATER_SetTimer", {kHandle, kNvsid, 1, 2, -1, -1, -1, -1, -1, -1, 0}};
  EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{none});
  EXPECT_EQ(valve.IconStateOf(1067), IconState::kTemplate);
  EXPECT_EQ(valve.IconStateOf(1214), IconState::kTemplate);

  const std::vector<std::pair<int, int>> chosen = {{1203, 1}, {1204, 7}, {1205, 30}, {1206, 6}, {1207, 23}, {1208, 59}};
  for (const auto& [id, index] : chosen) Control<QComboBox>(valve, id).setCurrentIndex(index);
  const std::vector<std::pair<int, int>> modes = {{1200, 1}, {1201, 2}, {1202, 3}};
  for (const auto& [radio, mode] : modes) {
    FakeApi fresh;
    Control<QRadioButton>(valve, radio).setChecked(true);
    valve.Press(IDC_WATER_SET_TIMER);
    const RecordedCall set{"CM_IOT_WATER_SetTimer", {kHandle, kNvsid, 1, 2, 1, 7, 30, 6, 23, 59, mode}};
    EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{set}) << radio;
  }
  EXPECT_EQ(Control<QComboBox>(valve, 1203).itemText(1), QString::fromUtf8("星期一"));
  EXPECT_EQ(Control<QComboBox>(valve, 1203).count(), 7);
  EXPECT_EQ(Control<QComboBox>(valve, 1204).count(), 24);
  EXPECT_EQ(Control<QComboBox>(valve, 1208).count(), 60);
}

TEST_F(LabSwitchTest, CoverStartsHalfWayWithAnEmptyStatusAndTheBarAtZero) {
  auto& slider = Control<QSlider>(cover, IDC_CC_POSITION);
  EXPECT_EQ(slider.minimum(), 0);
  EXPECT_EQ(slider.maximum(), 2);
  EXPECT_EQ(slider.value(), 1);
  auto& bar = Control<QProgressBar>(cover, IDC_CC_PROGRESS);
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.maximum(), 10);
  EXPECT_EQ(bar.value(), 0);
  EXPECT_EQ(Status(), "");
}

TEST_F(LabSwitchTest, CoverShowsWhatTheSimulatedCoverAnswers) {
  testsupport::SimulatedDevice device(87, kNetId, kNodeAddress, kNvsid);
  ASSERT_TRUE(device.Exists());
  // Opening: "BeginOpen" with the wait, then "OperationSuccess".
  const std::vector<std::string> opening = device.Send(CcControl(1));
  ASSERT_EQ(opening.size(), 2u);
  Show(cover, opening[0]);
  EXPECT_EQ(Status(), "正在打开, 等待时间5秒...");
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kBusy);
  Show(cover, opening[1]);
  EXPECT_EQ(Status(), "操作成功, 操作为: 打开");
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kOn);
  EXPECT_EQ(Position(), 2);

  const std::vector<std::string> closing = device.Send(CcControl(0));
  ASSERT_EQ(closing.size(), 2u);
  Show(cover, closing[0]);
  EXPECT_EQ(Status(), "正在关闭, 等待时间5秒...");
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kBusy);
  Show(cover, closing[1]);
  EXPECT_EQ(Status(), "操作成功, 操作为: 关闭");
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kOff);
  EXPECT_EQ(Position(), 0);

  device.Send(CcControl(1));
  Show(cover, device.One(CcQueryStatus()));
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kOn);
  EXPECT_EQ(Position(), 2);
}

IotReply CoverFrame(std::uint8_t functionByte, std::vector<std::uint8_t> payload) {
  IotReply reply;
  reply.nvsid = 1000001;
  reply.netId = 1;
  reply.nodeAddress = 2;
  reply.commandCode = 87;
  reply.functionByte = functionByte;
  reply.payload = std::move(payload);
  return reply;
}

TEST_F(LabSwitchTest, CoverPositionAndFailureFromTheLibrarysTexts) {
  struct Case {
    IotReply frame;
    IconState icon;
    int position;
    const char* status;  // nullptr: unchanged
  };
  const std::vector<Case> cases = {
      {CoverFrame(0x40, {1}), IconState::kOn, 2, nullptr},
      {CoverFrame(0x40, {0}), IconState::kOff, 0, nullptr},
      {CoverFrame(0x40, {2}), IconState::kPending, 1, nullptr},  // "unknown"
      {CoverFrame(0x30, {0x15, 0}), IconState::kOff, 0, "操作失败, 操作为: 打开"},
      {CoverFrame(0x30, {0x14, 1}), IconState::kOn, 2, "操作失败, 操作为: 关闭"},
      {CoverFrame(0x30, {0x15, 2}), IconState::kPending, 1, "操作失败, 操作为: 打开"},
  };
  for (const Case& c : cases) {
    const std::string text = testsupport::LibraryReplyText(c.frame);
    ASSERT_FALSE(text.empty());
    const std::string before = Status();
    Show(cover, text);
    EXPECT_EQ(cover.IconStateOf(1067), c.icon) << text;
    EXPECT_EQ(Position(), c.position) << text;
    EXPECT_EQ(Status(), c.status != nullptr ? std::string(c.status) : before) << text;
  }
}

TEST_F(LabSwitchTest, CoverComparesNamesAndWordsIgnoringCase) {
  Show(cover, NodeReply("CC", "currentstatus", {{"position", "OPENED"}}, target));
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kOn);
  EXPECT_EQ(Position(), 2);
  Show(cover, NodeReply("CC", "OPERATIONSUCCESS", {{"operation", "Close"}}, target));
  EXPECT_EQ(Status(), "操作成功, 操作为: 关闭");
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kOff);
  // Another operation: no word, icon and slider stay.
  Show(cover, NodeReply("CC", "OperationSuccess", {{"operation", "halt"}}, target));
  EXPECT_EQ(Status(), "操作成功, 操作为: ");
  EXPECT_EQ(cover.IconStateOf(1067), IconState::kOff);
  EXPECT_EQ(Position(), 0);
  Show(cover, NodeReply("CC", "fault", {{"info", "SENSOR"}}, target));
  Show(cover, NodeReply("CC", "fault", {{"info", "power"}}, target));
  Show(cover, NodeReply("CC", "fault", {{"info", "smoke"}}, target));
  EXPECT_EQ(LogLines().size(), 2);
  EXPECT_EQ(LogLines().value(0), Logged("CC传感器故障!"));
  EXPECT_EQ(LogLines().value(1), Logged("CC电源故障"));
}

TEST_F(LabSwitchTest, CoverSkipsTheTextOfAnotherNodeAndShowsTheNextOnes) {
  const std::string other = testsupport::LibraryReplyText([] {
    IotReply reply = CoverFrame(0x40, {1});
    reply.nodeAddress = 3;
    return reply;
  }());
  ShowAll(cover, {other, testsupport::LibraryReplyText(CoverFrame(0x30, {0x00, 9}))});
  EXPECT_EQ(Status(), "正在关闭, 等待时间9秒...");
  EXPECT_EQ(Position(), 1);
  EXPECT_EQ(cover.QueuedReplyCount(), 0u);
}

TEST_F(LabSwitchTest, ValveShowsWhatTheSimulatedValveAnswers) {
  testsupport::SimulatedDevice device(88, kNetId, kNodeAddress, kNvsid);
  ASSERT_TRUE(device.Exists());
  struct Step {
    IotCommand command;
    IconState valveIcon;
    IconState timerIcon;
  };
  const std::vector<Step> steps = {
      {WaterCtrl(1), IconState::kOn, IconState::kTemplate},
      {WaterTimerCtrl(1), IconState::kOn, IconState::kOn},
      {WaterCtrl(0), IconState::kOff, IconState::kOn},
      {WaterTimerCtrl(0), IconState::kOff, IconState::kOff},
      {WaterSetTimer(1, 2, 3, 4, 5, 6, 1), IconState::kOff, IconState::kOff},
      {WaterCtrl(1), IconState::kOn, IconState::kOff},
      {WaterQueryStatus(), IconState::kOn, IconState::kOff},
  };
  for (const Step& step : steps) {
    const std::string text = device.One(step.command);
    ASSERT_FALSE(text.empty());
    Show(valve, text);
    EXPECT_EQ(valve.IconStateOf(1067), step.valveIcon) << text;
    EXPECT_EQ(valve.IconStateOf(1214), step.timerIcon) << text;
  }
  EXPECT_EQ(valve.IconStateOf(1215), IconState::kTemplate);
}

TEST_F(LabSwitchTest, ValveAlarmFaultsAndOtherWords) {
  IotReply alarm = CoverFrame(0x12, {0, 0, 0, 0, 0});
  alarm.commandCode = 88;
  // The valve shows replies of any node.
  alarm.nodeAddress = 9;
  const std::string broken = testsupport::LibraryReplyText(alarm);
  ASSERT_NE(broken.find("broken"), std::string::npos);
  Show(valve, broken);
  EXPECT_EQ(valve.IconStateOf(1215), IconState::kOff);
  Show(valve, NodeReply("WATER", "ALARM", {{"alarmtype", "leak"}}));
  EXPECT_EQ(valve.IconStateOf(1215), IconState::kPending);
  Show(valve, NodeReply("WATER", "alarm", {{"alarmtype", "BROKEN"}}));
  EXPECT_EQ(valve.IconStateOf(1215), IconState::kOff);

  Show(valve, NodeReply("WATER", "Status", {{"status", "ON"}}));
  EXPECT_EQ(valve.IconStateOf(1067), IconState::kOn);
  Show(valve, NodeReply("WATER", "status", {{"status", "half"}}));
  EXPECT_EQ(valve.IconStateOf(1067), IconState::kPending);
  Show(valve, NodeReply("WATER", "timeron", {}));
  EXPECT_EQ(valve.IconStateOf(1214), IconState::kOn);
  EXPECT_EQ(valve.IconStateOf(1067), IconState::kPending);

  Show(valve, NodeReply("WATER", "fault", {{"info", "sensor"}}));
  Show(valve, NodeReply("WATER", "fault", {{"info", "Power"}}));
  ASSERT_EQ(LogLines().size(), 2);
  EXPECT_EQ(LogLines().value(0), Logged("WATER传感器故障!"));
  EXPECT_EQ(LogLines().value(1), Logged("WATER电源故障"));
}

TEST_F(LabSwitchTest, BoxPowerLightSwitchAndContactorShowNoReplies) {
  for (KitPage* page : std::initializer_list<KitPage*>{&boxPower, &lightSwitch})
    Show(*page, NodeReply("CONTROLTC", "status", {{"status", "on"}}, target));
  EXPECT_EQ(boxPower.IconStateOf(1067), IconState::kTemplate);
  EXPECT_EQ(lightSwitch.IconStateOf(1067), IconState::kTemplate);
  EXPECT_TRUE(contactor.findChildren<QWidget*>().isEmpty());
  EXPECT_EQ(contactor.DialogId(), 158);
}

}  // namespace
