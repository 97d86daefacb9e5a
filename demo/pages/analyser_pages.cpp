#include "demo/pages/analyser_pages.h"

#include <string>

namespace {

constexpr AnalyserFamily kCO2{"数据采集::CO2浓度", 181, "CO2", "CO2浓度(ppm):", ValueKind::kInt,
                              &SentrellApi::CM_IOT_CO2_Query, &SentrellApi::CM_IOT_CO2_Start,
                              &SentrellApi::CM_IOT_CO2_Stop};
constexpr AnalyserFamily kO2{"数据采集::O2浓度", 182, "O2", "O2浓度(ppm):", ValueKind::kFloat,
                             &SentrellApi::CM_IOT_O2_Query, &SentrellApi::CM_IOT_O2_Start,
                             &SentrellApi::CM_IOT_O2_Stop};
constexpr AnalyserFamily kPH{"数据采集::PH值", 180, "PH", "PH值:", ValueKind::kFloat, &SentrellApi::CM_IOT_PH_Query,
                             nullptr, nullptr};

PageDescription Describe(const AnalyserFamily& f) {
  const std::string family = f.family;
  PageDescription page;
  page.controls = {Edit(IDC_ANALYSER_VALUE, f.valueLabel, f.value).ReadOnly().At(0, 0)};
  page.buttons = {Button(IDC_ANALYSER_QUERY, "查询(&Q)")
                      .Before(ClearAndShow({IDC_ANALYSER_VALUE}))
                      .Reads()
                      .Calls([query = f.query](KitPage& p) { return p.Send(Api().*query); })
                      .ErrorLine(family + "节点: 获取值错误")
                      .At(0, 2)};
  page.replies = {On("singledata", {SetValue(IDC_ANALYSER_VALUE, "value"), Show()})};
  if (f.start == nullptr) return page;

  page.controls.insert(
      page.controls.end(),
      {
          Group(IDC_ANALYSER_SAMPLING, "连续采集").At(1, 0, 4),
          Edit(IDC_ANALYSER_PERIOD, "采样周期(ms):", ValueKind::kInt)
              .Initial(kDefaultSamplingPeriodMs)
              .In(IDC_ANALYSER_SAMPLING)
              .At(0, 0),
          Edit(IDC_ANALYSER_COUNT, "次数:", ValueKind::kInt).Initial(kDefaultSamplingCount).In(IDC_ANALYSER_SAMPLING).At(1, 0),
          List(IDC_ANALYSER_LIST, {{"序号", Align::kLeft, 70}, {"时间", Align::kLeft, 100}, {"浓度", Align::kRight, 80}})
              .In(IDC_ANALYSER_SAMPLING)
              .At(2, 0, 4),
          Icon(IDC_ANALYSER_STATE, "操作结果").At(2, 0),
      });
  page.buttons.push_back(Button(IDC_ANALYSER_START, "开始")
                             .Reads()
                             .Guard(CheckSampling(IDC_ANALYSER_PERIOD, IDC_ANALYSER_COUNT))
                             .Calls([start = f.start](KitPage& p) {
                               return p.Send(Api().*start, p.Int(IDC_ANALYSER_PERIOD), p.Int(IDC_ANALYSER_COUNT));
                             })
                             .ErrorLine(family + "采集节点: 开始采集错误!")
                             .In(IDC_ANALYSER_SAMPLING)
                             .At(0, 2));
  page.buttons.push_back(Button(IDC_ANALYSER_STOP, "停止")
                             .Reads()
                             .Calls([stop = f.stop](KitPage& p) { return p.Send(Api().*stop); })
                             .ErrorLine(family + "采集节点: 停止采集错误!")
                             .In(IDC_ANALYSER_SAMPLING)
                             .At(1, 2));
  page.replies.push_back(On("multidata", {AddRows(IDC_ANALYSER_LIST, "value",
                                                  f.value == ValueKind::kInt ? RowFormat::kInteger
                                                                             : RowFormat::kTwoDecimals)}));
  page.replies.push_back(On(
      "ack", {Switch("ack", Words::kIgnoringCase,
                     {
                         {"query", {SetIcon(IDC_ANALYSER_STATE, IconState::kOn), LogLine(family + "数据采集成功")}},
                         {"start", {SetIcon(IDC_ANALYSER_STATE, IconState::kOff), LogLine(family + "开始连续数据采集")}},
                         {"stop", {SetIcon(IDC_ANALYSER_STATE, IconState::kOff), LogLine(family + "停止连续数据采集")}},
                     })}));
  return page;
}

}  // namespace

AnalyserPage::AnalyserPage(const AnalyserFamily& family, QWidget* parent)
    : KitPage(QString::fromUtf8(family.caption), family.dialogId, Describe(family), parent) {}

CCO2Page::CCO2Page(QWidget* parent) : AnalyserPage(kCO2, parent) {}

CO2Page::CO2Page(QWidget* parent) : AnalyserPage(kO2, parent) {}

CPHPage::CPHPage(QWidget* parent) : AnalyserPage(kPH, parent) {}
