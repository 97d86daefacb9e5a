#include "demo/pages/collector_pages.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "demo/shell/cm_parser.h"
#include "demo/shell/measurement_rows.h"
#include "demo/shell/text_format.h"

namespace {

// Group boxes, named by their captions.
enum CollectorGroup {
  kRangeGroup = 1,     // "测量范围"
  kSingleGroup = 2,    // "单次采集"
  kSamplingGroup = 3,  // "连续采集"
  kLimitGroup = 4,     // "报警值"
  kZeroGroup = 5,      // "校准"
};

// Most values a page reads from a sample block.
constexpr std::size_t kSampleRoom = 16;

constexpr CollectorFamily kTHDC{
    "数据采集::温湿度",
    150,
    "THDC",
    "温湿度采集节点: ",
    ValueKind::kFloat,
    2,
    {{"temperature", 1194, "温度:", 1079, "温度值(℃):", 1082, "温度上限(℃):", 1081, "温度下限(℃):", "温度"},
     {"humidity", 1195, "湿度:", 1080, "湿度值(%):", 1084, "湿度上限(%):", 1083, "湿度下限(%):", "湿度"}},
    &SentrellApi::CM_IOT_THDC_Sampling,
    nullptr,
    &SentrellApi::CM_IOT_THDC_SetLimit,
    &SentrellApi::CM_IOT_THDC_StartContinuousSampling,
    &SentrellApi::CM_IOT_THDC_StopContinuousSampling,
    &SentrellApi::CM_IOT_THDC_QueryLimit,
    &SentrellApi::CM_IOT_THDC_QueryRange,
    false};

constexpr CollectorFamily kTDC{
    "数据采集::温度",
    151,
    "TDC",
    "温度采集节点: ",
    ValueKind::kFloat,
    1,
    {{"temperature", 1194, "温度:", 1079, "温度(℃):", 1082, "温度上限(℃):", 1081, "温度下限(℃):", "温度"}, {}},
    &SentrellApi::CM_IOT_TDC_Sampling,
    &SentrellApi::CM_IOT_TDC_SetLimit,
    nullptr,
    &SentrellApi::CM_IOT_TDC_StartContinuousSampling,
    &SentrellApi::CM_IOT_TDC_StopContinuousSampling,
    &SentrellApi::CM_IOT_TDC_QueryLimit,
    &SentrellApi::CM_IOT_TDC_QueryRange,
    false};

constexpr CollectorFamily kIDC{
    "数据采集::光照度",
    153,
    "IDC",
    "光照度采集节点: ",
    ValueKind::kInt,
    1,
    {{"illuminance", 1196, "光照度:", 1095, "光照度(lux):", 1093, "照度上限(lx):", 1094, "照度下限(lx):", "光照度"}, {}},
    &SentrellApi::CM_IOT_IDC_Sampling,
    &SentrellApi::CM_IOT_IDC_SetLimit,
    nullptr,
    &SentrellApi::CM_IOT_IDC_StartContinuousSampling,
    &SentrellApi::CM_IOT_IDC_StopContinuousSampling,
    &SentrellApi::CM_IOT_IDC_QueryLimit,
    &SentrellApi::CM_IOT_IDC_QueryRange,
    false};

constexpr CollectorFamily kDAIS{
    "数据采集::双倾角传感器",
    152,
    "DAIS",
    "双轴倾角节点: ",
    ValueKind::kFloat,
    2,
    {{"x", 1188, "X轴:", 1091, "X轴值(°):", 1087, "X轴上限(°):", 1088, "X轴下限(°):", "X"},
     {"y", 1189, "Y轴:", 1092, "Y轴值(°):", 1089, "Y轴上限(°):", 1090, "Y轴下限(°):", "Y"}},
    &SentrellApi::CM_IOT_DAIS_Sampling,
    nullptr,
    &SentrellApi::CM_IOT_DAIS_SetLimit,
    &SentrellApi::CM_IOT_DAIS_StartContinuousSampling,
    &SentrellApi::CM_IOT_DAIS_StopContinuousSampling,
    &SentrellApi::CM_IOT_DAIS_QueryLimit,
    &SentrellApi::CM_IOT_DAIS_QueryRange,
    true};

std::span<const CollectorChannel> ChannelsOf(const CollectorFamily& f) {
  return std::span<const CollectorChannel>(f.channels, static_cast<std::size_t>(f.channelCount));
}

bool IsInteger(const CollectorFamily& f) { return f.value == ValueKind::kInt; }

// A measured value as the lists and range texts show it: "%d" on the
// integer page, "%.*f" with `precision` on the others.
std::string ValueText(const CollectorFamily& f, double value, int precision) {
  return IsInteger(f) ? Format("%d", static_cast<int>(value)) : FormatPrecision(value, precision);
}

// The items of an array element into `out`, zero-filled beyond the array's
// end, read with the reader of the page's value kind; the number of items
// the array had (at most out.size()).
int ReadItems(const CollectorFamily& f, const std::string& text, const char* element, std::span<double> out) {
  std::array<int, kSampleRoom> integers{};
  std::array<float, kSampleRoom> reals{};
  const std::size_t room = std::min(out.size(), kSampleRoom);
  const int count = IsInteger(f) ? CCMParser::GetDataElementValueArrayInt(text, element, std::span(integers).first(room))
                                 : CCMParser::GetDataElementValueArrayFloat(text, element, std::span(reals).first(room));
  for (std::size_t i = 0; i < room; ++i) out[i] = IsInteger(f) ? integers[i] : static_cast<double>(reals[i]);
  return count;
}

// A single value element, read with the reader of the page's value kind.
double ReadSingle(const CollectorFamily& f, const std::string& text, const char* element) {
  return IsInteger(f) ? CCMParser::GetDataElementValueInt(text, element)
                      : static_cast<double>(CCMParser::GetDataElementValueFloat(text, element));
}

// A limit as the set-limit exports take it: the integer edits converted.
float LimitOf(const CollectorFamily& f, KitPage& page, int id) {
  return IsInteger(f) ? static_cast<float>(page.Int(id)) : page.Float(id);
}

std::vector<int> LimitIds(const CollectorFamily& f) {
  std::vector<int> ids;
  for (const CollectorChannel& c : ChannelsOf(f)) ids.insert(ids.end(), {c.lowerId, c.upperId});
  return ids;
}

std::vector<ListColumn> SampleColumns(const CollectorFamily& f) {
  std::vector<ListColumn> columns = {{"序号", Align::kLeft, 70}, {"时间", Align::kLeft, 100}};
  for (const CollectorChannel& c : ChannelsOf(f)) columns.push_back({c.column, Align::kRight, 80});
  return columns;
}

// The widest range text: two 32-bit values, with two decimals on the pages
// of real values.
const char* WidestRange(const CollectorFamily& f) {
  return IsInteger(f) ? "(-2147483648, -2147483648)" : "(-2147483648.00, -2147483648.00)";
}

std::vector<ControlRow> Controls(const CollectorFamily& f) {
  std::vector<ControlRow> controls = {
      Group(kRangeGroup, "测量范围").At(0, 0),
      Group(kSingleGroup, "单次采集").At(0, 1),
      Group(kSamplingGroup, "连续采集").At(1, 0, 2),
      Group(kLimitGroup, "报警值").At(2, 0, 2),
  };
  int row = 0;
  for (const CollectorChannel& c : ChannelsOf(f)) {
    controls.push_back(Edit(c.rangeId, c.rangeLabel, ValueKind::kText).Widest(WidestRange(f)).In(kRangeGroup).At(row, 0));
    controls.push_back(Edit(c.valueId, c.valueLabel, f.value).In(kSingleGroup).At(row, 0));
    controls.push_back(Edit(c.upperId, c.upperLabel, f.value).In(kLimitGroup).At(0, 2 * row));
    controls.push_back(Edit(c.lowerId, c.lowerLabel, f.value).In(kLimitGroup).At(1, 2 * row));
    ++row;
  }
  std::vector<ListColumn> alarmColumns = SampleColumns(f);
  alarmColumns.push_back({"类型", Align::kLeft, 100});
  controls.insert(controls.end(), {
                                      Edit(IDC_COLLECTOR_PERIOD, "采样周期(ms):", ValueKind::kInt)
                                          .Initial(kDefaultSamplingPeriodMs)
                                          .In(kSamplingGroup)
                                          .At(0, 0),
                                      Edit(IDC_COLLECTOR_COUNT, "次数:", ValueKind::kInt)
                                          .Initial(kDefaultSamplingCount)
                                          .In(kSamplingGroup)
                                          .At(1, 0),
                                      List(IDC_COLLECTOR_SAMPLES, SampleColumns(f)).In(kSamplingGroup).At(2, 0, 4),
                                      List(IDC_COLLECTOR_ALARMS, alarmColumns).In(kLimitGroup).At(2, 0, 6),
                                      Icon(IDC_COLLECTOR_STATE, "操作结果").At(4, 0),
                                  });
  if (f.zeroPoint) {
    controls.insert(controls.end(), {
                                        Group(kZeroGroup, "校准").At(3, 0),
                                        Edit(IDC_DAIS_ZERO_X, "X轴:", ValueKind::kFloat).In(kZeroGroup).At(0, 0),
                                        Edit(IDC_DAIS_ZERO_Y, "Y轴:", ValueKind::kFloat).In(kZeroGroup).At(1, 0),
                                    });
  }
  return controls;
}

// A step before the session check: the values cleared and shown.
KitStep ClearAndShow(std::vector<int> ids) {
  return [clear = ClearValues(std::move(ids))](KitPage& page) {
    clear(page);
    page.ShowAllValues();
  };
}

std::vector<ButtonRow> Buttons(const CollectorFamily& f) {
  const std::string prefix = f.prefix;
  std::vector<int> ranges;
  std::vector<int> singles;
  for (const CollectorChannel& c : ChannelsOf(f)) {
    ranges.push_back(c.rangeId);
    singles.push_back(c.valueId);
  }
  const CollectorFamily* family = &f;
  std::vector<ButtonRow> buttons = {
      Button(IDC_COLLECTOR_QUERY_RANGE, "查询范围")
          .Before(ClearAndShow(ranges))
          .Reads()
          .Calls([family](KitPage& p) { return p.Send(Api().*family->queryRange); })
          .ErrorLine(prefix + "查询测量范围错误!")
          .In(kRangeGroup)
          .At(0, 2),
      Button(IDC_COLLECTOR_SAMPLING, "单次采集")
          .Before(ClearAndShow(singles))
          .Reads()
          .Calls([family](KitPage& p) { return p.Send(Api().*family->sampling); })
          .ErrorLine(prefix + "单次采集错误!")
          .In(kSingleGroup)
          .At(0, 2),
      Button(IDC_COLLECTOR_START, "开始")
          .Reads()
          .Guard(CheckSampling(IDC_COLLECTOR_PERIOD, IDC_COLLECTOR_COUNT))
          .Calls([family](KitPage& p) {
            return p.Send(Api().*family->start, p.Int(IDC_COLLECTOR_PERIOD), p.Int(IDC_COLLECTOR_COUNT));
          })
          .ErrorLine(prefix + "开始采集错误!")
          .In(kSamplingGroup)
          .At(0, 2),
      Button(IDC_COLLECTOR_STOP, "停止")
          .Reads()
          .Calls([family](KitPage& p) { return p.Send(Api().*family->stop); })
          .ErrorLine(prefix + "停止采集错误!")
          .In(kSamplingGroup)
          .At(1, 2),
      Button(IDC_COLLECTOR_QUERY_LIMIT, "查询报警值")
          .Before(ClearAndShow(LimitIds(f)))
          .Reads()
          .Calls([family](KitPage& p) { return p.Send(Api().*family->queryLimit); })
          .ErrorLine(prefix + "查询报警值错误!")
          .In(kLimitGroup)
          .At(0, 4),
      Button(IDC_COLLECTOR_SET_LIMIT, "设置报警值")
          .Reads()
          .Calls([family](KitPage& p) {
            const CollectorChannel* c = family->channels;
            if (family->channelCount == 1)
              return p.Send(Api().*family->setLimit1, LimitOf(*family, p, c[0].lowerId),
                            LimitOf(*family, p, c[0].upperId));
            return p.Send(Api().*family->setLimit2, LimitOf(*family, p, c[0].lowerId),
                          LimitOf(*family, p, c[0].upperId), LimitOf(*family, p, c[1].lowerId),
                          LimitOf(*family, p, c[1].upperId));
          })
          .ErrorLine(prefix + "设置报警值错误!")
          .After([clear = ClearAndShow(LimitIds(f))](KitPage& p, int) { clear(p); })
          .In(kLimitGroup)
          .At(1, 4),
  };
  if (f.zeroPoint) {
    buttons.push_back(Button(IDC_DAIS_ZERO_SET, "重置")
                          .Reads()
                          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_DAIS_ZeroSetting); })
                          .ErrorLine(prefix + "置零错误!")
                          .In(kZeroGroup)
                          .At(0, 2));
    buttons.push_back(Button(IDC_DAIS_ZERO_QUERY, "查询")
                          .Reads()
                          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_DAIS_QueryZeroSetting); })
                          .ErrorLine(prefix + "查询置零值错误!")
                          .In(kZeroGroup)
                          .At(1, 2));
  }
  return buttons;
}

// "querylimit" and a successful "setlimit": each channel's two values, the
// lower limit, then the upper; a missing value reads as 0.
ReplyAction ReadLimits(const CollectorFamily& f) {
  ReplyActions reads;
  for (const CollectorChannel& c : ChannelsOf(f)) reads.push_back(ReadArray({c.lowerId, c.upperId}, c.element, Rest::kZero));
  return [reads = std::move(reads)](KitPage& page, const std::string& text) {
    for (const ReplyAction& read : reads) read(page, text);
  };
}

ReplyActions ShowRange(const CollectorFamily* f) {
  return {[f](KitPage& page, const std::string& text) {
            for (const CollectorChannel& c : ChannelsOf(*f)) {
              std::array<double, 2> range{};
              ReadItems(*f, text, c.element, range);
              page.TextValue(c.rangeId) =
                  "(" + ValueText(*f, range[0], 2) + ", " + ValueText(*f, range[1], 2) + ")";
            }
          },
          Show()};
}

// "multidata": one row per value of the last channel's array, at most 16;
// the values of the first channel beyond its array's end are 0.
ReplyAction AddSampleRows(const CollectorFamily* f) {
  return [f](KitPage& page, const std::string& text) {
    const int precision = CCMParser::GetDataElementPrecision(text, f->channels[0].element);
    std::array<std::array<double, kSampleRoom>, 2> values{};
    int rows = 0;
    for (int i = 0; i < f->channelCount; ++i) rows = ReadItems(*f, text, f->channels[i].element, values[i]);
    for (int row = 0; row < rows; ++row) {
      std::vector<std::string> texts;
      for (int i = 0; i < f->channelCount; ++i) texts.push_back(ValueText(*f, values[i][row], precision));
      page.AddRowTo(IDC_COLLECTOR_SAMPLES, texts);
    }
  };
}

// "alarm": a row of the alarm list with the values and the alarm type.
ReplyAction AddAlarmRow(const CollectorFamily* f) {
  return [f](KitPage& page, const std::string& text) {
    const int precision = CCMParser::GetDataElementPrecision(text, f->channels[0].element);
    std::vector<std::string> texts;
    for (const CollectorChannel& c : ChannelsOf(*f)) texts.push_back(ValueText(*f, ReadSingle(*f, text, c.element), precision));
    page.AddRowTo(IDC_COLLECTOR_ALARMS, texts,
                  CCMParser::GetDataElementValueString(text, "alarmtype").value_or(std::string()));
  };
}

std::vector<ReplyRule> Replies(const CollectorFamily& f) {
  const std::string word = f.word;
  ReplyActions singles;
  for (const CollectorChannel& c : ChannelsOf(f)) singles.push_back(SetValue(c.valueId, c.element));
  singles.push_back(Show());
  std::vector<ReplyRule> rules = {
      On("queryrange", ShowRange(&f)),
      On("querylimit", {ReadLimits(f), Show()}),
      On("setlimit", {Switch("result", Words::kExact,
                             {
                                 {"success",
                                  {SetIcon(IDC_COLLECTOR_STATE, IconState::kOn), LogLine(word + "设置上下限成功"),
                                   ReadLimits(f)}},
                                 {"failure",
                                  {SetIcon(IDC_COLLECTOR_STATE, IconState::kOff), LogLine(word + "设置上下限错误"),
                                   [ids = LimitIds(f)](KitPage& page, const std::string&) {
                                     for (int id : ids) page.ClearValue(id);
                                   }}},
                             }),
                      Show()}),
      On("singledata", singles),
      On("multidatastart",
         {Switch("result", Words::kExact,
                 {
                     {"success", {SetIcon(IDC_COLLECTOR_STATE, IconState::kOn), LogLine(word + "开始连续数据采集成功")}},
                     {"failure", {SetIcon(IDC_COLLECTOR_STATE, IconState::kOff), LogLine(word + "开始连续数据采集失败")}},
                 }),
          SetValue(IDC_COLLECTOR_PERIOD, "period"), SetValue(IDC_COLLECTOR_COUNT, "count"), Show()}),
      On("multidata", {AddSampleRows(&f)}),
      On("status", {Switch("info", Words::kIgnoringCase, {{"multidatastop", {LogLine(word + "停止连续数据采集")}}})}),
      On("alarm", {AddAlarmRow(&f)}),
  };
  if (f.zeroPoint) rules.push_back(On("zero", {SetValue(IDC_DAIS_ZERO_X, "x"), SetValue(IDC_DAIS_ZERO_Y, "y"), Show()}));
  return rules;
}

PageDescription Describe(const CollectorFamily& f) {
  PageDescription page;
  page.controls = Controls(f);
  page.buttons = Buttons(f);
  page.replies = Replies(f);
  page.pendingIconForEveryText = IDC_COLLECTOR_STATE;
  return page;
}

}  // namespace

CollectorPage::CollectorPage(const CollectorFamily& family, QWidget* parent)
    : KitPage(QString::fromUtf8(family.caption), family.dialogId, Describe(family), parent) {}

CTHDCPage::CTHDCPage(QWidget* parent) : CollectorPage(kTHDC, parent) {}

CTDCPage::CTDCPage(QWidget* parent) : CollectorPage(kTDC, parent) {}

CIDCPage::CIDCPage(QWidget* parent) : CollectorPage(kIDC, parent) {}

CDAISPage::CDAISPage(QWidget* parent) : CollectorPage(kDAIS, parent) {}
