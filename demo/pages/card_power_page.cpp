#include "demo/pages/card_power_page.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "demo/shell/cm_parser.h"
#include "demo/shell/sentrell_api.h"
#include "demo/shell/text_format.h"

namespace {

constexpr int kTimeLists[] = {IDC_ICREAD_TIMING,      IDC_ICREAD_START_WEEKDAY, IDC_ICREAD_START_HOUR,
                              IDC_ICREAD_START_MINUTE, IDC_ICREAD_END_WEEKDAY,  IDC_ICREAD_END_HOUR,
                              IDC_ICREAD_END_MINUTE};
constexpr int kStartAfter[] = {IDC_ICREAD_DAYS, IDC_ICREAD_HOURS, IDC_ICREAD_MINUTES};

// The controls of the chosen mode enabled, the others disabled. In mode 1
// the timing tells which of the weekday, hour and minute lists count.
void EnableModeControls(KitPage& p) {
  const int mode = p.Int(IDC_ICREAD_MODE);
  if (mode == 0 || mode == 2) {
    for (int id : kTimeLists) p.Enable(id, false);
    for (int id : kStartAfter) p.Enable(id, mode == 2);
    return;
  }
  if (mode != 1) return;
  p.Enable(IDC_ICREAD_TIMING, true);
  const long long timing = p.ChosenData(IDC_ICREAD_TIMING);
  if (timing != kTimingHourly && timing != kTimingDaily && timing != kTimingWeekly) return;
  for (int id : {IDC_ICREAD_START_WEEKDAY, IDC_ICREAD_END_WEEKDAY}) p.Enable(id, timing == kTimingWeekly);
  for (int id : {IDC_ICREAD_START_HOUR, IDC_ICREAD_END_HOUR}) p.Enable(id, timing != kTimingHourly);
  for (int id : {IDC_ICREAD_START_MINUTE, IDC_ICREAD_END_MINUTE}) p.Enable(id, true);
}

void ReadAndEnable(KitPage& p) {
  p.ReadValues();
  EnableModeControls(p);
}

int Chosen(KitPage& p, int comboId) { return static_cast<int>(p.ChosenData(comboId)); }

int SetWorkMode(KitPage& p) {
  const char* school = p.TextValue(IDC_ICREAD_SCHOOL).c_str();
  switch (p.Int(IDC_ICREAD_MODE)) {
    case 0:
      return p.Send(Api().CM_IOT_ICREAD_SetMode1, school);
    case 1:
      return p.Send(Api().CM_IOT_ICREAD_SetMode2, school, Chosen(p, IDC_ICREAD_TIMING),
                    Chosen(p, IDC_ICREAD_START_WEEKDAY), Chosen(p, IDC_ICREAD_START_HOUR),
                    Chosen(p, IDC_ICREAD_START_MINUTE), Chosen(p, IDC_ICREAD_END_WEEKDAY),
                    Chosen(p, IDC_ICREAD_END_HOUR), Chosen(p, IDC_ICREAD_END_MINUTE));
    case 2:
      return p.Send(Api().CM_IOT_ICREAD_SetMode3, school, static_cast<int>(p.UInt(IDC_ICREAD_DAYS)),
                    static_cast<int>(p.UInt(IDC_ICREAD_HOURS)), static_cast<int>(p.UInt(IDC_ICREAD_MINUTES)));
    default:
      return 0;
  }
}

std::vector<ComboItem> Weekdays() {
  std::vector<ComboItem> days;
  int data = 0;
  for (const char* day : {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"})
    days.push_back(ComboItem{day, data++});
  return days;
}

// The power icon by the "powerstatus" word; pending for any other or none.
ReplyAction PowerIcon() {
  return Switch("powerstatus", Words::kIgnoringCase,
                {{"on", {SetIcon(IDC_ICREAD_POWER_ICON, IconState::kOn)}},
                 {"off", {SetIcon(IDC_ICREAD_POWER_ICON, IconState::kOff)}}},
                {SetIcon(IDC_ICREAD_POWER_ICON, IconState::kPending)});
}

std::vector<ControlRow> Controls() {
  std::vector<ControlRow> controls = {
      Group(IDC_ICREAD_CARD_GROUP, "卡信息").At(1, 0, 5),
      Group(IDC_ICREAD_MODE_GROUP, "工作模式").At(2, 0, 5),
      Group(IDC_ICREAD_INFO_GROUP, "信息显示").At(3, 0, 5),
      Icon(IDC_ICREAD_POWER_ICON).In(IDC_ICREAD_MODE_GROUP).At(1, 4),
      // The mode and the timing first: a read that stops at a refused
      // school text has read them already.
      Radio({IDC_ICREAD_MODE, IDC_ICREAD_MODE2, IDC_ICREAD_MODE3}, {"模式一", "模式二", "模式三"}, 0)
          .OnChange(ReadAndEnable)
          .In(IDC_ICREAD_MODE_GROUP)
          .At(0, 0),
      Combo(IDC_ICREAD_TIMING, "定时模式:", {{"每小时", kTimingHourly}, {"每天", kTimingDaily}, {"每周", kTimingWeekly}})
          .OnChange(ReadAndEnable)
          .In(IDC_ICREAD_MODE_GROUP)
          .At(1, 0),
      Edit(IDC_ICREAD_SCHOOL, "学校信息:", ValueKind::kText).MaxLength(6).In(IDC_ICREAD_CARD_GROUP).At(0, 0),
  };
  const std::vector<ComboItem> hours = NumberItems(0, 23);
  const std::vector<ComboItem> minutes = NumberItems(0, 59);
  for (int row : {2, 3}) {
    const bool start = row == 2;
    controls.push_back(Combo(start ? IDC_ICREAD_START_WEEKDAY : IDC_ICREAD_END_WEEKDAY, start ? "开始:" : "结束:",
                             Weekdays(), 0)
                           .In(IDC_ICREAD_MODE_GROUP)
                           .At(row, 0));
    controls.push_back(
        Combo(start ? IDC_ICREAD_START_HOUR : IDC_ICREAD_END_HOUR, "", hours, 0).In(IDC_ICREAD_MODE_GROUP).At(row, 2));
    controls.push_back(Combo(start ? IDC_ICREAD_START_MINUTE : IDC_ICREAD_END_MINUTE, "", minutes, 0)
                           .In(IDC_ICREAD_MODE_GROUP)
                           .At(row, 3));
  }
  controls.push_back(Edit(IDC_ICREAD_DAYS, "设定起始时间:", ValueKind::kUInt).In(IDC_ICREAD_MODE_GROUP).At(4, 0));
  controls.push_back(Text("天").In(IDC_ICREAD_MODE_GROUP).At(4, 2));
  controls.push_back(Edit(IDC_ICREAD_HOURS, "", ValueKind::kUInt).In(IDC_ICREAD_MODE_GROUP).At(4, 3));
  controls.push_back(Text("小时").In(IDC_ICREAD_MODE_GROUP).At(4, 4));
  controls.push_back(Edit(IDC_ICREAD_MINUTES, "", ValueKind::kUInt).In(IDC_ICREAD_MODE_GROUP).At(4, 5));
  controls.push_back(Text("分钟").In(IDC_ICREAD_MODE_GROUP).At(4, 6));
  controls.push_back(Text("开启和停止时间是跟模式相关的!").In(IDC_ICREAD_MODE_GROUP).At(5, 0, 5));
  // Each with the widest text a reply puts in it: a 32-bit and a 16-bit
  // number, six bytes of school text, the longest mode and error words, a
  // weekday with a time.
  const std::tuple<int, const char*, const char*> shown[] = {
      {IDC_ICREAD_CARD_ID, "卡ID:", "4294967295"},   {IDC_ICREAD_CARD_NUMBER, "卡号:", "65535"},
      {IDC_ICREAD_CARD_SCHOOL, "学校:", "WWWWWW"},     {IDC_ICREAD_WORK_MODE, "模式:", "mode2week"},
      {IDC_ICREAD_ERROR, "错误:", "errcardinfo"},      {IDC_ICREAD_ON_TIME, "开启时间:", "Wed 00:00"},
      {IDC_ICREAD_OFF_TIME, "停止时间:", "Wed 00:00"},
  };
  int at = 0;
  for (const auto& [id, label, widest] : shown) {
    controls.push_back(
        Edit(id, label, ValueKind::kText).Widest(widest).In(IDC_ICREAD_INFO_GROUP).At(at / 2, (at % 2) * 2));
    ++at;
  }
  return controls;
}

PageDescription CardPowerDescription() {
  PageDescription page;
  page.controls = Controls();
  page.buttons = {
      Button(IDC_ICREAD_ON, "开")
          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_ICREAD_Ctrl, 1); })
          .PendingIcon(IDC_ICREAD_POWER_ICON)
          .At(0, 0),
      Button(IDC_ICREAD_OFF, "关")
          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_ICREAD_Ctrl, 0); })
          .PendingIcon(IDC_ICREAD_POWER_ICON)
          .At(0, 1),
      Button(IDC_ICREAD_QUERY_STATUS, "查询状态")
          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_ICREAD_QueryStatus); })
          .PendingIcon(IDC_ICREAD_POWER_ICON)
          .At(0, 2),
      Button(IDC_ICREAD_SET_MODE, "设定工作模式").Reads(ReadPage::kAfterCheck).Calls(SetWorkMode).In(IDC_ICREAD_MODE_GROUP).At(0, 4, 2),
      Button(IDC_ICREAD_QUERY_CONFIG, "查询配置")
          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_ICREAD_QueryConfig); })
          .In(IDC_ICREAD_INFO_GROUP)
          .At(3, 2, 2),
  };
  const auto card = [](const char* element) {
    return [element](const std::string& t) { return Format("%u", CCMParser::GetDataElementValueUInt(t, element)); };
  };
  page.replies = {
      On({"powerstatus", "poweroperation", "modefb1", "modefb2", "modefb3", "cardremove", "cardinvalid"},
         {SetText(IDC_ICREAD_CARD_ID, card("cardid")), SetText(IDC_ICREAD_CARD_NUMBER, card("cardnum")),
          SetValue(IDC_ICREAD_ERROR, "errorinfo"), SetValue(IDC_ICREAD_WORK_MODE, "workmode"),
          SetValue(IDC_ICREAD_CARD_SCHOOL, "cardinfo"), PowerIcon(), Show()}),
      On("activetime", {SetValue(IDC_ICREAD_ON_TIME, "begintime"), SetValue(IDC_ICREAD_OFF_TIME, "endtime"),
                        SetValue(IDC_ICREAD_ERROR, "errorinfo"), SetValue(IDC_ICREAD_WORK_MODE, "workmode"),
                        SetValue(IDC_ICREAD_CARD_SCHOOL, "cardinfo"), PowerIcon(), Show()}),
      On("fault", {Switch("info", Words::kIgnoringCase, {{"broken", {LogLine("ICREAD: 盒盖被打开")}}})}),
  };
  page.onInit = EnableModeControls;
  return page;
}

}  // namespace

CICReadPage::CICReadPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::IC卡智能取电"), 163, CardPowerDescription(), parent) {}
