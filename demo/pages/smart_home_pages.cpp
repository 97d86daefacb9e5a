#include "demo/pages/smart_home_pages.h"

#include "demo/shell/sentrell_api.h"

namespace {

ButtonRow Button(int id, const char* caption, KitCall call, int column) {
  ButtonRow button;
  button.id = id;
  button.caption = caption;
  button.call = call;
  button.report = CommandReport::kPendingIcon;
  button.iconId = IDC_STATE_ICON;
  button.row = 0;
  button.column = column;
  return button;
}

ControlRow StateIcon(int row, int column) {
  ControlRow icon;
  icon.kind = ControlKind::kIcon;
  icon.id = IDC_STATE_ICON;
  icon.row = row;
  icon.column = column;
  return icon;
}

ReplyAction OnOffIcon() {
  return IconMap(IDC_STATE_ICON, "status", {{"on", IconState::kOn}, {"off", IconState::kOff}}, IconState::kPending);
}

PageDescription LampDescription() {
  PageDescription page;
  page.controls = {StateIcon(0, 3)};
  page.buttons = {
      Button(IDC_BTN_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, 1); }, 0),
      Button(IDC_BTN_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, 0); }, 1),
      Button(IDC_BTN_QUERY, "获取状态(&R)", [](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_QueryStatus); }, 2),
  };
  page.nodeFilter = true;
  page.replies = {{"status", {OnOffIcon()}}, {"fault", {FaultLog("LAMP")}}};
  return page;
}

PageDescription CurtainDescription() {
  PageDescription page;
  ControlRow closed;
  closed.text = "关";
  closed.row = 1;
  closed.column = 0;
  ControlRow slider;
  slider.kind = ControlKind::kSlider;
  slider.id = IDC_SLIDER_POSITION;
  slider.row = 1;
  slider.column = 1;
  slider.columnSpan = 2;
  slider.minimum = 0;  // closed
  slider.maximum = 2;  // open
  slider.position = 1;  // stopped
  ControlRow open;
  open.text = "开";
  open.row = 1;
  open.column = 3;
  page.controls = {StateIcon(0, 4), closed, slider, open};
  page.buttons = {
      Button(IDC_BTN_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_Ctrl, 1); }, 0),
      Button(IDC_BTN_STOP, "停(&S)", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_Ctrl, 0); }, 1),
      Button(IDC_BTN_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_Ctrl, 2); }, 2),
      Button(IDC_BTN_EC_QUERY, "获取状态", [](KitPage& p) { return p.Send(Api().CM_IOT_EC_QueryStatus); }, 3),
  };
  page.replies = {
      {"status", {SliderMap(IDC_SLIDER_POSITION, "status", {{"open", 2}, {"close", 0}, {"stop", 1}})}},
      {"fault", {FaultLog("EC")}},
  };
  return page;
}

PageDescription PowerDescription() {
  PageDescription page;
  page.controls = {StateIcon(0, 3)};
  page.buttons = {
      Button(IDC_BTN_OPEN, "开(&O)", [](KitPage& p) { return p.Send(Api().CM_IOT_POWER_Ctrl, 1); }, 0),
      Button(IDC_BTN_CLOSE, "关(&C)", [](KitPage& p) { return p.Send(Api().CM_IOT_POWER_Ctrl, 0); }, 1),
      Button(IDC_BTN_QUERY, "获取状态(&R)", [](KitPage& p) { return p.Send(Api().CM_IOT_POWER_QueryStatus); }, 2),
  };
  page.replies = {{"status", {OnOffIcon()}}, {"fault", {FaultLog("POWER")}}};
  return page;
}

}  // namespace

CLampPage::CLampPage(QWidget* parent) : KitPage(QString::fromUtf8("智能家居::灯光"), 135, LampDescription(), parent) {}

CECPage::CECPage(QWidget* parent) : KitPage(QString::fromUtf8("智能家居::窗帘"), 136, CurtainDescription(), parent) {}

CPowerPage::CPowerPage(QWidget* parent) : KitPage(QString::fromUtf8("智能家居::电源"), 142, PowerDescription(), parent) {}
