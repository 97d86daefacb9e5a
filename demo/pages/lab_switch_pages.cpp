#include "demo/pages/lab_switch_pages.h"

#include <string>
#include <utility>

#include "demo/pages/state_words.h"
#include "demo/shell/ascii_case.h"
#include "demo/shell/cm_parser.h"
#include "demo/shell/sentrell_api.h"
#include "demo/shell/text_format.h"

namespace {

using statewords::OnOffIcon;
using statewords::PendingButton;

// Group boxes of the valve page.
enum { kControlGroup = 1, kModeGroup, kTimesGroup, kIndicatorGroup };
// Group box of the box power and light switch pages.
constexpr int kSwitchGroup = 1;

// The cover's position word: the icon and the slider (0 closed, 1 between
// or unknown, 2 opened).
ReplyAction CoverPosition() {
  return Switch("position", Words::kIgnoringCase,
                {{"opened", {SetIcon(IDC_LAB_STATE, IconState::kOn), SetPosition(IDC_CC_POSITION, 2)}},
                 {"closed", {SetIcon(IDC_LAB_STATE, IconState::kOff), SetPosition(IDC_CC_POSITION, 0)}}},
                {SetIcon(IDC_LAB_STATE, IconState::kPending), SetPosition(IDC_CC_POSITION, 1)});
}

// "打开" for "open", "关闭" for "close", empty for any other operation.
std::string OperationWord(const std::string& text) {
  const std::string operation = CCMParser::GetDataElementValueString(text, "operation").value_or(std::string());
  if (EqualsIgnoringCase(operation, "open")) return "打开";
  if (EqualsIgnoringCase(operation, "close")) return "关闭";
  return {};
}

ReplyAction Waiting(const char* format) {
  return SetText(IDC_CC_STATUS, [format](const std::string& text) {
    return Format(format, static_cast<int>(CCMParser::GetDataElementValueUInt(text, "waittime")));
  });
}

ReplyAction Outcome(std::string lead) {
  return SetText(IDC_CC_STATUS, [lead = std::move(lead)](const std::string& text) { return lead + OperationWord(text); });
}

PageDescription CoverDescription() {
  PageDescription page;
  page.controls = {
      Icon(IDC_LAB_STATE).At(0, 3),
      Edit(IDC_CC_STATUS, "状态: ", ValueKind::kText).ReadOnly().Widest("正在打开, 等待时间255秒...").At(1, 0, 3),
      Text("关").At(2, 0),
      Slider(IDC_CC_POSITION, 0, 2, 1).At(2, 1, 2),
      Text("开").At(2, 3),
      Progress(IDC_CC_PROGRESS, 0, 10, 0).At(3, 0, 4),
  };
  page.buttons = {
      PendingButton(IDC_LAB_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_CC_Control, 1); },
                    IDC_LAB_STATE)
          .At(0, 0),
      PendingButton(IDC_LAB_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_CC_Control, 0); },
                    IDC_LAB_STATE)
          .At(0, 1),
      PendingButton(IDC_CC_QUERY, "获取状态", [](KitPage& p) { return p.Send(Api().CM_IOT_CC_QueryStatus); },
                    IDC_LAB_STATE)
          .At(0, 2),
  };
  page.nodeFilter = true;
  page.replies = {
      On("CurrentStatus", {CoverPosition()}),
      On("BeginOpen", {Waiting("正在打开, 等待时间%d秒..."), SetIcon(IDC_LAB_STATE, IconState::kBusy), Show()}),
      On("BeginClose", {Waiting("正在关闭, 等待时间%d秒..."), SetIcon(IDC_LAB_STATE, IconState::kBusy), Show()}),
      On("OperationSuccess",
         {Outcome("操作成功, 操作为: "),
          Switch("operation", Words::kIgnoringCase,
                 {{"open", {SetIcon(IDC_LAB_STATE, IconState::kOn), SetPosition(IDC_CC_POSITION, 2)}},
                  {"close", {SetIcon(IDC_LAB_STATE, IconState::kOff), SetPosition(IDC_CC_POSITION, 0)}}}),
          Show()}),
      On("OperationFailure", {Outcome("操作失败, 操作为: "), CoverPosition(), Show()}),
      On("fault", {FaultLog("CC", Words::kIgnoringCase)}),
  };
  return page;
}

std::vector<ComboItem> Weekdays() {
  std::vector<ComboItem> days;
  long long day = 0;
  for (const char* name : {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"})
    days.push_back({name, day++});
  return days;
}

PageDescription ValveDescription() {
  PageDescription page;
  page.controls = {
      Group(kControlGroup, "控制").At(0, 0),
      Group(kModeGroup, "定时模式").At(1, 0),
      Radio({IDC_WATER_WEEKLY, IDC_WATER_DAILY, IDC_WATER_HOURLY}, {"周", "天", "小时"}).In(kModeGroup).At(0, 0),
      Group(kTimesGroup, "定时时间设置").At(2, 0),
      Text("开时间:").In(kTimesGroup).At(0, 0),
      Combo(IDC_WATER_ON_WEEKDAY, {}, Weekdays()).In(kTimesGroup).At(0, 1),
      Combo(IDC_WATER_ON_HOUR, {}, NumberItems(0, 23)).In(kTimesGroup).At(0, 2),
      Combo(IDC_WATER_ON_MINUTE, {}, NumberItems(0, 59)).In(kTimesGroup).At(0, 3),
      Text("关时间:").In(kTimesGroup).At(1, 0),
      Combo(IDC_WATER_OFF_WEEKDAY, {}, Weekdays()).In(kTimesGroup).At(1, 1),
      Combo(IDC_WATER_OFF_HOUR, {}, NumberItems(0, 23)).In(kTimesGroup).At(1, 2),
      Combo(IDC_WATER_OFF_MINUTE, {}, NumberItems(0, 59)).In(kTimesGroup).At(1, 3),
      Group(kIndicatorGroup, "状态指示").At(3, 0),
      Icon(IDC_LAB_STATE, "开关指示").In(kIndicatorGroup).At(0, 0),
      Icon(IDC_WATER_TIMER_ICON, "定时指示").In(kIndicatorGroup).At(0, 2),
      Icon(IDC_WATER_DAMAGE_ICON, "破坏指示").In(kIndicatorGroup).At(0, 4),
  };
  page.buttons = {
      PendingButton(IDC_WATER_OPEN, "打开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_WATER_Ctrl, 1); },
                    IDC_LAB_STATE)
          .In(kControlGroup)
          .At(0, 0),
      PendingButton(IDC_WATER_CLOSE, "关闭(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_WATER_Ctrl, 0); },
                    IDC_LAB_STATE)
          .In(kControlGroup)
          .At(0, 1),
      PendingButton(IDC_WATER_QUERY, "查询状态(&Q)",
                    [](KitPage& p) { return p.Send(Api().CM_IOT_WATER_QueryStatus); }, IDC_LAB_STATE)
          .In(kControlGroup)
          .At(0, 2),
      Button(IDC_WATER_SET_TIMER, "设定(&S)")
          .Reads(ReadPage::kAfterCheck)
          .Calls([](KitPage& p) {
            const auto item = [&p](int id) { return static_cast<int>(p.ChosenData(id)); };
            // Weekly 1, daily 2, hourly 3; none chosen 0.
            return p.Send(Api().CM_IOT_WATER_SetTimer, item(IDC_WATER_ON_WEEKDAY), item(IDC_WATER_ON_HOUR),
                          item(IDC_WATER_ON_MINUTE), item(IDC_WATER_OFF_WEEKDAY), item(IDC_WATER_OFF_HOUR),
                          item(IDC_WATER_OFF_MINUTE), p.Int(IDC_WATER_WEEKLY) + 1);
          })
          .In(kTimesGroup)
          .At(2, 1),
      PendingButton(IDC_WATER_TIMER_ON, "开启定时",
                    [](KitPage& p) { return p.Send(Api().CM_IOT_WATER_TimerCtrl, 1); }, IDC_WATER_TIMER_ICON)
          .In(kTimesGroup)
          .At(2, 2),
      PendingButton(IDC_WATER_TIMER_OFF, "停止定时",
                    [](KitPage& p) { return p.Send(Api().CM_IOT_WATER_TimerCtrl, 0); }, IDC_WATER_TIMER_ICON)
          .In(kTimesGroup)
          .At(2, 3),
  };
  page.replies = {
      On({"status", "settimer"}, {OnOffIcon(IDC_LAB_STATE)}),
      On("timeron", {SetIcon(IDC_WATER_TIMER_ICON, IconState::kOn), OnOffIcon(IDC_LAB_STATE)}),
      On("timeroff", {SetIcon(IDC_WATER_TIMER_ICON, IconState::kOff), OnOffIcon(IDC_LAB_STATE)}),
      // A broken valve shows the off image in the damage indicator.
      On("alarm", {Switch("alarmtype", Words::kIgnoringCase,
                          {{"broken", {SetIcon(IDC_WATER_DAMAGE_ICON, IconState::kOff)}}},
                          {SetIcon(IDC_WATER_DAMAGE_ICON, IconState::kPending)})}),
      On("fault", {FaultLog("WATER", Words::kIgnoringCase)}),
  };
  return page;
}

PageDescription BoxPowerDescription() {
  PageDescription page;
  page.controls = {Group(kSwitchGroup, "实验箱智能取电").At(0, 0), Icon(IDC_LAB_STATE).In(kSwitchGroup).At(0, 4)};
  const auto op = [](int id, const char* caption, KitCall call, int column) {
    return PendingButton(id, caption, std::move(call), IDC_LAB_STATE).In(kSwitchGroup).At(0, column);
  };
  page.buttons = {
      op(IDC_LAB_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_CONTROLTC_Ctrl, 1); }, 0),
      op(IDC_LAB_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_CONTROLTC_Ctrl, 0); }, 1),
      op(IDC_LAB_AUTHORISE, "授权(&A)", [](KitPage& p) { return p.Send(Api().CM_IOT_CONTROLTC_Ctrl, 2); }, 2),
      op(IDC_LAB_QUERY, "获取状态(&R)", [](KitPage& p) { return p.Send(Api().CM_IOT_CONTROLTC_QueryStatus); }, 3),
  };
  return page;
}

PageDescription LightSwitchDescription() {
  PageDescription page;
  page.controls = {Group(kSwitchGroup, "单火线照明").At(0, 0), Icon(IDC_LAB_STATE).In(kSwitchGroup).At(0, 2)};
  page.buttons = {
      PendingButton(IDC_LAB_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, 1); },
                    IDC_LAB_STATE)
          .In(kSwitchGroup)
          .At(0, 0),
      PendingButton(IDC_LAB_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, 0); },
                    IDC_LAB_STATE)
          .In(kSwitchGroup)
          .At(0, 1),
  };
  return page;
}

}  // namespace

CCCPage::CCCPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::摄像头遮挡控制"), 162, CoverDescription(), parent) {}

CWaterPage::CWaterPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::智能水阀"), 175, ValveDescription(), parent) {}

CControlTCPage::CControlTCPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::实验箱智能取电"), 159, BoxPowerDescription(), parent) {}

CSLRCPage::CSLRCPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::单火线照明开关"), 166, LightSwitchDescription(), parent) {}

CControlPage::CControlPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::交流接触器"), 158, PageDescription{}, parent) {}
