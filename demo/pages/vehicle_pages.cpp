#include "demo/pages/vehicle_pages.h"

#include <string>

#include "demo/pages/state_words.h"
#include "demo/shell/cm_parser.h"
#include "demo/shell/sentrell_api.h"

namespace {

using statewords::PendingButton;

enum { kControlGroup = 1, kInformationGroup };

PageDescription PlateDescription() {
  PageDescription page;
  const auto upBar = [](int id, const char* caption, int isFree, int column) {
    return Button(id, caption)
        .Reads(ReadPage::kAfterCheck)
        .Calls([isFree](KitPage& p) { return p.Send(Api().CM_IOT_VLR_UpBar, isFree); })
        .ErrorLine("车辆识别: 抬杆错误!")
        .At(0, column);
  };
  page.controls = {
      Icon(IDC_VLR_STATE).At(0, 2),
      List(IDC_VLR_PLATES, {{"序号", Align::kLeft, 70}, {"时间", Align::kLeft, 100}, {"车牌号", Align::kRight, 80}})
          .At(1, 0, 4),
  };
  page.buttons = {upBar(IDC_VLR_NORMAL, "正常通行", 0, 0), upBar(IDC_VLR_FREE, "免费通行", 1, 1)};
  page.pendingIconForEveryText = IDC_VLR_STATE;
  page.replies = {On("vl", {AddRow(IDC_VLR_PLATES,
                                   [](const std::string& text) {
                                     return std::vector<std::string>{
                                         CCMParser::GetDataElementValueString(text, "vl").value_or(std::string())};
                                   }),
                            Show()})};
  return page;
}

PageDescription VehicleDescription() {
  PageDescription page;
  page.controls = {
      Group(kControlGroup, "控制").At(0, 0),
      Icon(IDC_CAR_STATE).In(kControlGroup).At(1, 3),
      Group(kInformationGroup, "信息").At(1, 0),
      Edit(IDC_CAR_CARD_NUMBER, "卡号:", ValueKind::kUInt).In(kInformationGroup).At(0, 0),
      Edit(IDC_CAR_CARD_ID, "卡ID:", ValueKind::kText).Widest("FFFFFFFF").In(kInformationGroup).At(1, 0),
  };
  // Operation 0 stop, 1 forward, 2 back, 3 left, 4 right.
  const auto drive = [](int id, const char* caption, int op, int row, int column) {
    return PendingButton(
               id, caption, [op](KitPage& p) { return p.Send(Api().CM_IOT_CARRFIDControl, op); }, IDC_CAR_STATE)
        .In(kControlGroup)
        .At(row, column);
  };
  page.buttons = {
      drive(IDC_CAR_FORWARD, "前进", 1, 0, 1), drive(IDC_CAR_LEFT, "左转", 3, 1, 0),
      drive(IDC_CAR_STOP, "停止", 0, 1, 1),    drive(IDC_CAR_RIGHT, "右转", 4, 1, 2),
      drive(IDC_CAR_BACK, "后退", 2, 2, 1),
  };
  page.nodeFilter = true;
  page.replies = {
      On("cardinfo", {SetValue(IDC_CAR_CARD_NUMBER, "cardnum"), SetValue(IDC_CAR_CARD_ID, "cardid"), Show()}),
      // The vehicle's faults carry no family word.
      On("fault", {FaultLog("")}),
  };
  return page;
}

}  // namespace

CVLRPage::CVLRPage(QWidget* parent) : KitPage(QString::fromUtf8("实验室::车牌识别"), 184, PlateDescription(), parent) {}

CCarRFIDPage::CCarRFIDPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::车载RFID"), 188, VehicleDescription(), parent) {}
