// The smart-home pages on the page kit: their buttons and exports, the
// pending icon, the replies that show states, and the category pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "demo/pages/category_pages.h"
#include "library/api/commands_switches.h"
#include "demo/pages/smart_home_pages.h"
#include "demo/shell/demo_dlg.h"
#include "demo/shell/page_table.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::FakeApi;
using demotest::NodeReply;
using demotest::RecordedCall;
using demotest::ReplyNode;

class SmartHomeTest : public demotest::PageFixture {
 protected:
  SmartHomeTest() {
    for (KitPage* page : std::initializer_list<KitPage*>{&lamp, &curtain, &power}) page->EnsureCreated();
  }

  CLampPage lamp;
  CECPage curtain;
  CPowerPage power;
  const ReplyNode target{1000001, 1, 2};
};

TEST_F(SmartHomeTest, ButtonsCallTheirExportsAndShowPending) {
  struct Case {
    KitPage* page;
    int button;
    const char* caption;
    RecordedCall call;
  };
  const std::vector<Case> cases = {
      {&lamp, 1066, "开(&O)", {"CM_IOT_LAMP_Ctrl", {kHandle, 1000001, 1, 2, 1}}},
      {&lamp, 1036, "关(&C)", {"CM_IOT_LAMP_Ctrl", {kHandle, 1000001, 1, 2, 0}}},
      {&lamp, 1197, "获取状态(&R)", {"CM_IOT_LAMP_QueryStatus", {kHandle, 1000001, 1, 2}}},
      {&curtain, 1066, "开(&O)", {"CM_IOT_EC_Ctrl", {kHandle, 1000001, 1, 2, 1}}},
      {&curtain, 1048, "停(&S)", {"CM_IOT_EC_Ctrl", {kHandle, 1000001, 1, 2, 0}}},
      {&curtain, 1036, "关(&C)", {"CM_IOT_EC_Ctrl", {kHandle, 1000001, 1, 2, 2}}},
      {&curtain, 1213, "获取状态", {"CM_IOT_EC_QueryStatus", {kHandle, 1000001, 1, 2}}},
      {&power, 1066, "开(&O)", {"CM_IOT_POWER_Ctrl", {kHandle, 1000001, 1, 2, 1}}},
      {&power, 1036, "关(&C)", {"CM_IOT_POWER_Ctrl", {kHandle, 1000001, 1, 2, 0}}},
      {&power, 1197, "获取状态(&R)", {"CM_IOT_POWER_QueryStatus", {kHandle, 1000001, 1, 2}}},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      c.page->SetIconState(IDC_STATE_ICON, IconState::kOn);
      QPushButton& button = Control<QPushButton>(*c.page, c.button);
      EXPECT_EQ(button.text(), QString::fromUtf8(c.caption)) << c.call.name;
      button.click();
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{c.call}) << c.call.name;
      EXPECT_EQ(c.page->IconStateOf(IDC_STATE_ICON), IconState::kPending) << c.call.name << " " << result;
    }
  }
  EXPECT_TRUE(Log().isEmpty());
}

TEST_F(SmartHomeTest, WithoutASessionNothingIsSent) {
  theApp.m_hSession = nullptr;
  lamp.Press(IDC_BTN_OPEN);
  curtain.Press(IDC_BTN_STOP);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages().size(), 2);
  EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kTemplate);
}

TEST_F(SmartHomeTest, LampShowsItsStateUntilTheNextCommand) {
  EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kTemplate);
  EXPECT_FALSE(Control<QLabel>(lamp, 1067).pixmap().isNull());
  lamp.Press(IDC_BTN_OPEN);
  EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kPending);
  Show(lamp, NodeReply("LAMP", "status", {{"status", "on"}}, target));
  EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kOn);
  Show(lamp, NodeReply("LAMP", "STATUS", {{"status", "off"}}, target));
  EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kOff);
  Show(lamp, NodeReply("LAMP", "status", {{"status", ""}}, target));
  EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kPending);
  Show(lamp, NodeReply("LAMP", "status", {{"status", "ON"}}, target));
  EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kPending);
}

TEST_F(SmartHomeTest, LampShowsWhatTheSimulatedLampAnswers) {
  testsupport::SimulatedDevice device(81, kNetId, kNodeAddress, kNvsid);
  for (const auto& [on, state] : {std::pair{1, IconState::kOn}, std::pair{0, IconState::kOff}}) {
    const std::vector<std::string> texts = device.Send(LampCtrl(81, on));
    ASSERT_FALSE(texts.empty());
    for (const std::string& text : texts) Show(lamp, text);
    EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), state) << texts.back();
  }
}

TEST_F(SmartHomeTest, LampDropsRepliesOfOtherNodes) {
  Show(lamp, NodeReply("LAMP", "status", {{"status", "off"}}, target));
  for (const ReplyNode other : {ReplyNode{1000001, 1, 3}, ReplyNode{1000001, 2, 2}, ReplyNode{2000002, 1, 2}}) {
    Show(lamp, NodeReply("LAMP", "status", {{"status", "on"}}, other));
    EXPECT_EQ(lamp.IconStateOf(IDC_STATE_ICON), IconState::kOff);
  }
  // Power and curtain show the replies of any node.
  Show(power, NodeReply("POWER", "status", {{"status", "on"}}, ReplyNode{9, 9, 9}));
  EXPECT_EQ(power.IconStateOf(IDC_STATE_ICON), IconState::kOn);
  Show(curtain, NodeReply("EC", "status", {{"status", "open"}}, ReplyNode{9, 9, 9}));
  EXPECT_EQ(curtain.SliderOf(IDC_SLIDER_POSITION)->value(), 2);
}

TEST_F(SmartHomeTest, PowerShowsItsState) {
  const std::vector<std::pair<const char*, IconState>> cases = {
      {"on", IconState::kOn}, {"off", IconState::kOff}, {"", IconState::kPending}, {"unkown", IconState::kPending}};
  for (const auto& [word, shown] : cases) {
    Show(power, NodeReply("POWER", "status", {{"status", word}}));
    EXPECT_EQ(power.IconStateOf(IDC_STATE_ICON), shown) << word;
  }
}

TEST_F(SmartHomeTest, CurtainSliderFollowsTheStatusOnly) {
  QSlider* slider = &Control<QSlider>(curtain, 1098);
  EXPECT_EQ(slider->minimum(), 0);
  EXPECT_EQ(slider->maximum(), 2);
  EXPECT_EQ(slider->value(), 1);
  curtain.Press(IDC_BTN_CLOSE);
  EXPECT_EQ(slider->value(), 1);
  const std::vector<std::pair<const char*, int>> cases = {
      {"close", 0}, {"unkown", 0}, {"open", 2}, {"", 2}, {"stop", 1}, {"OPEN", 1}};
  for (const auto& [word, position] : cases) {
    Show(curtain, NodeReply("EC", "status", {{"status", word}}));
    EXPECT_EQ(slider->value(), position) << word;
  }
  EXPECT_EQ(curtain.IconStateOf(IDC_STATE_ICON), IconState::kPending);
}

TEST_F(SmartHomeTest, FaultsAreLoggedWithTheFamilyWord) {
  Show(curtain, NodeReply("EC", "fault", {{"info", "power"}}));
  Show(lamp, NodeReply("LAMP", "fault", {{"info", "sensor"}}, target));
  Show(power, NodeReply("POWER", "Fault", {{"info", "power"}}));
  Show(power, NodeReply("POWER", "fault", {{"info", "other"}}));
  Show(power, NodeReply("POWER", "other", {{"info", "power"}}));
  EXPECT_EQ(Log(), QStringLiteral(" 6:00:00.000: EC电源故障\n 6:00:00.000: LAMP传感器故障!\n 6:00:00.000: POWER电源故障\n"));
}

TEST_F(SmartHomeTest, CategoryPages) {
  const CHEAPage appliances;
  const CSmartHomePage smartHome;
  const CPTZPage ptz;
  EXPECT_EQ(appliances.Caption(), QStringLiteral("家用电器"));
  EXPECT_EQ(appliances.DialogId(), 109);
  EXPECT_EQ(smartHome.Caption(), QStringLiteral("智能家居"));
  EXPECT_EQ(smartHome.DialogId(), 143);
  EXPECT_EQ(ptz.Caption(), QStringLiteral("云台"));
  EXPECT_EQ(ptz.DialogId(), 138);
  EXPECT_TRUE(appliances.children().isEmpty());
  // Every page of the table is made as its own class; the camera mount page is not in it.
  EXPECT_NE(dynamic_cast<CHEAPage*>(dialog.FindPage("CHEAPage")), nullptr);
  EXPECT_NE(dynamic_cast<CSmartHomePage*>(dialog.FindPage("CSmartHomePage")), nullptr);
  EXPECT_NE(dynamic_cast<CLampPage*>(dialog.FindPage("CLampPage")), nullptr);
  EXPECT_NE(dynamic_cast<CECPage*>(dialog.FindPage("CECPage")), nullptr);
  EXPECT_NE(dynamic_cast<CPowerPage*>(dialog.FindPage("CPowerPage")), nullptr);
  EXPECT_EQ(dialog.FindPage("CPTZPage"), nullptr);
}

}  // namespace
