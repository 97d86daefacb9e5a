#include "demo/pages/lab_asset_pages.h"

#include <string>
#include <utility>
#include <vector>

#include "demo/shell/cm_parser.h"
#include "demo/shell/sentrell_api.h"
#include "demo/shell/text_format.h"

namespace {

std::string Word(const std::string& text, const char* element) {
  return CCMParser::GetDataElementValueString(text, element).value_or(std::string());
}

ReplyAction InfoSwitch(std::vector<WordCase> cases) { return Switch("info", Words::kIgnoringCase, std::move(cases)); }

PageDescription PositioningDescription() {
  PageDescription page;
  std::vector<ListColumn> columns;
  for (const char* heading : {"索引", "学校", "院", "系", "实验室", "类型", "数量", "共享"})
    columns.push_back({heading, Align::kLeft, 50});
  page.controls = {List(IDC_LAB_ASSET_LIST, std::move(columns)).At(1, 0, 3)};
  page.buttons = {
      Button(IDC_DEVPST_START, "开始(&S)")
          .Before(ClearList(IDC_LAB_ASSET_LIST))
          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_DEVPST_Ctrl, 1); })
          .At(0, 0),
      Button(IDC_DEVPST_STOP, "停止(&E)").Calls([](KitPage& p) { return p.Send(Api().CM_IOT_DEVPST_Ctrl, 0); }).At(0, 1),
  };
  page.replies = {
      On("operationfeedback", {LogText([](const std::string& t) {
           return "DEVPST: " + Word(t, "info") + ": " + Word(t, "result");
         })}),
      On("status", {LogText([](const std::string& t) { return "DEVPST: " + Word(t, "info"); })}),
      On("data", {[](KitPage& p, const std::string& t) {
           std::vector<std::string> row;
           for (const char* element :
                {"index", "school", "college", "department", "lab", "instrument", "count", "share"})
             row.push_back(Format("%u", CCMParser::GetDataElementValueUInt(t, element)));
           p.InsertRowTo(IDC_LAB_ASSET_LIST, row);
         }}),
      On("fault", {InfoSwitch({{"cardreaderfault", {LogLine("DEVPST传感器故障!")}},
                               {"power", {LogLine("DEVPST电源故障")}}})}),
  };
  return page;
}

PageDescription InOutDescription() {
  PageDescription page;
  const std::vector<int> owner = {IDC_DEVIO_SCHOOL, IDC_DEVIO_COLLEGE, IDC_DEVIO_DEPARTMENT, IDC_DEVIO_LAB};
  page.controls = {
      Group(IDC_DEVIO_OWNER_GROUP, "读卡器归属信息").At(0, 0),
      Edit(IDC_DEVIO_SCHOOL, "学校:", ValueKind::kInt).In(IDC_DEVIO_OWNER_GROUP).At(0, 0),
      Edit(IDC_DEVIO_COLLEGE, "院:", ValueKind::kInt).In(IDC_DEVIO_OWNER_GROUP).At(0, 2),
      Edit(IDC_DEVIO_DEPARTMENT, "系:", ValueKind::kInt).In(IDC_DEVIO_OWNER_GROUP).At(1, 0),
      Edit(IDC_DEVIO_LAB, "实验室:", ValueKind::kInt).In(IDC_DEVIO_OWNER_GROUP).At(1, 2),
      Text("设备出入记录").At(1, 0),
      List(IDC_LAB_ASSET_LIST,
           {{"时间", Align::kLeft, 50}, {"设备号", Align::kLeft, 80}, {"归属", Align::kLeft, 50}, {"事件", Align::kLeft, 100}})
          .At(2, 0),
  };
  page.buttons = {
      Button(IDC_DEVIO_UPDATE, "更新(&U)")
          .Before([owner](KitPage& p) {
            for (int id : owner) p.ClearValue(id);
            p.ShowAllValues();
          })
          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_DEVIO_GetInfo); })
          .In(IDC_DEVIO_OWNER_GROUP)
          .At(0, 4),
      Button(IDC_DEVIO_MODIFY, "修改(&M)")
          .Reads()
          .Calls([](KitPage& p) {
            return p.Send(Api().CM_IOT_DEVIO_Ctrl, p.Int(IDC_DEVIO_SCHOOL), p.Int(IDC_DEVIO_COLLEGE),
                          p.Int(IDC_DEVIO_DEPARTMENT), p.Int(IDC_DEVIO_LAB));
          })
          .In(IDC_DEVIO_OWNER_GROUP)
          .At(1, 4),
  };
  page.replies = {
      On("feedback", {InfoSwitch({{"writebelonginfo", {LogLine("DEVIO: 读卡器归属信息写入指令接收正常")}},
                                  {"querybelonginfo", {LogLine("DEVIO: 读卡器归属信息查询指令接收正常")}}})}),
      On("status", {InfoSwitch({{"writebelongsucc", {LogLine("DEVIO: 读卡器归属信息写入正确")}}})}),
      On("data", {SetValue(IDC_DEVIO_SCHOOL, "school"), SetValue(IDC_DEVIO_COLLEGE, "college"),
                  SetValue(IDC_DEVIO_DEPARTMENT, "department"), SetValue(IDC_DEVIO_LAB, "lab"), Show()}),
      On("ioinfo", {[](KitPage& p, const std::string& t) {
           const QDateTime now = static_cast<CDevIOPage&>(p).LocalNow();
           const QDate day = now.date();
           const QTime time = now.time();
           p.InsertRowTo(IDC_LAB_ASSET_LIST,
                         {Format("%04d-%02d-%02d %02d:%02d:%02d", day.year(), day.month(), day.day(), time.hour(),
                                 time.minute(), time.second()),
                          Format("%u", CCMParser::GetDataElementValueUInt(t, "cardnum")), Word(t, "belong"),
                          Word(t, "direction")});
         }}),
      On("fault", {InfoSwitch({{"uart", {LogLine("DEVIO: 凌阳单片机与stm32串口通信故障!")}},
                               {"memory", {LogLine("DEVIO: STM32所属AT24C256故障!")}},
                               {"indoorcomm", {LogLine("DEVIO: STM32与RF900门内读卡器通信故障!")}},
                               {"outdoorcomm", {LogLine("DEVIO: STM32与RF900门外读卡器通信故障!")}},
                               {"power", {LogLine("DEVPST: 电源故障")}}})}),
      On("alarm", {InfoSwitch({{"unauthorizedout", {LogText([](const std::string& t) {
                                  return Format("DEVIO: 设备强行带出, 卡号:%u",
                                                CCMParser::GetDataElementValueUInt(t, "cardnum"));
                                })}}})}),
  };
  return page;
}

}  // namespace

CDevPstPage::CDevPstPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::设备定位"), 160, PositioningDescription(), parent) {}

CDevIOPage::CDevIOPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::设备出入管理"), 161, InOutDescription(), parent) {}
