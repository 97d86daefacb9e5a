#include "demo/pages/smart_home_pages.h"

#include "demo/shell/sentrell_api.h"

namespace {

ButtonRow SwitchButton(int id, const char* caption, KitCall call, int column) {
  return Button(id, caption).Calls(std::move(call)).PendingIcon(IDC_STATE_ICON).At(0, column);
}

ReplyAction OnOffIcon() {
  return Switch("status", Words::kExact,
                {{"on", {SetIcon(IDC_STATE_ICON, IconState::kOn)}}, {"off", {SetIcon(IDC_STATE_ICON, IconState::kOff)}}},
                {SetIcon(IDC_STATE_ICON, IconState::kPending)});
}

PageDescription LampDescription() {
  PageDescription page;
  page.controls = {Icon(IDC_STATE_ICON).At(0, 3)};
  page.buttons = {
      SwitchButton(IDC_BTN_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, 1); }, 0),
      SwitchButton(IDC_BTN_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, 0); }, 1),
      SwitchButton(IDC_BTN_QUERY, "获取状态(&R)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_QueryStatus); }, 2),
  };
  page.nodeFilter = true;
  page.replies = {On("status", {OnOffIcon()}), On("fault", {FaultLog("LAMP")})};
  return page;
}

PageDescription CurtainDescription() {
  PageDescription page;
  page.controls = {
      Icon(IDC_STATE_ICON).At(0, 4),
      Text("关").At(1, 0),
      // 0 closed, 1 stopped, 2 open.
      Slider(IDC_SLIDER_POSITION, 0, 2, 1).At(1, 1, 2),
      Text("开").At(1, 3),
  };
  page.buttons = {
      SwitchButton(IDC_BTN_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_Ctrl, 1); }, 0),
      SwitchButton(IDC_BTN_STOP, "停(&S)", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_Ctrl, 0); }, 1),
      SwitchButton(IDC_BTN_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_Ctrl, 2); }, 2),
      SwitchButton(IDC_BTN_EC_QUERY, "获取状态", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_QueryStatus); }, 3),
  };
  page.replies = {
      On("status", {Switch("status", Words::kExact,
                           {{"open", {SetPosition(IDC_SLIDER_POSITION, 2)}},
                            {"close", {SetPosition(IDC_SLIDER_POSITION, 0)}},
                            {"stop", {SetPosition(IDC_SLIDER_POSITION, 1)}}})}),
      On("fault", {FaultLog("EC")}),
  };
  return page;
}

PageDescription PowerDescription() {
  PageDescription page;
  page.controls = {Icon(IDC_STATE_ICON).At(0, 3)};
  page.buttons = {
      SwitchButton(IDC_BTN_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_POWER_Ctrl, 1); }, 0),
      SwitchButton(IDC_BTN_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_POWER_Ctrl, 0); }, 1),
      SwitchButton(IDC_BTN_QUERY, "获取状态(&R)", [](KitPage& p) { return p.Send(Api().CM_IOT_POWER_QueryStatus); }, 2),
  };
  page.replies = {On("status", {OnOffIcon()}), On("fault", {FaultLog("POWER")})};
  return page;
}

}  // namespace

CLampPage::CLampPage(QWidget* parent) : KitPage(QString::fromUtf8("智能家居::灯光"), 135, LampDescription(), parent) {}

CECPage::CECPage(QWidget* parent) : KitPage(QString::fromUtf8("智能家居::窗帘"), 136, CurtainDescription(), parent) {}

CPowerPage::CPowerPage(QWidget* parent) : KitPage(QString::fromUtf8("智能家居::电源"), 142, PowerDescription(), parent) {}
