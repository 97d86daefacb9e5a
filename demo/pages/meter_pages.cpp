#include "demo/pages/meter_pages.h"

#include <cctype>
#include <charconv>
#include <string>

#include <QWidget>

#include "demo/shell/cm_parser.h"
#include "demo/shell/sentrell_api.h"
#include "demo/shell/ui_services.h"

namespace {

// Group boxes.
enum MeterGroup {
  kDataGroup = 1,      // "数据"
  kFaultGroup = 2,     // "故障"
  kRelayGroup = 3,     // "继电器"
  kFeedbackGroup = 4,  // "指令反馈"
  kMeterGroup = 5,     // "表信息"
  kValveGroup = 6,     // "阀信息"
  kMessageGroup = 7,   // fault and alarm texts
};

// The widest texts of the meters' text values: a meter number of 17 digits
// (16 packed-BCD digits read as a number) and the longest fault word.
constexpr const char* kMeterNumberWidest = "00000000000000000";
constexpr const char* kLongestFaultWord = "CommunicationFailed";

// The two meter codes of every electricity-meter setting.
constexpr unsigned kPowerMeterCode1 = 0x52000006;
constexpr unsigned kPowerMeterCode2 = 0;

std::uint64_t& AddressOf(KitPage& page) { return static_cast<MeterPage&>(page).MeterAddress(); }
unsigned Low(KitPage& page) { return static_cast<unsigned>(AddressOf(page) & 0xFFFFFFFFu); }
unsigned High(KitPage& page) { return static_cast<unsigned>(AddressOf(page) >> 32); }

KitGuard RequireAddress(std::string message) {
  return [message = std::move(message)](KitPage& page) {
    if (AddressOf(page) != 0) return true;
    ShowMessage(&page, message);
    return false;
  };
}

// The meter number of "datavalue": the page's meter address, and shown as a
// decimal in the meter-number edit.
ReplyAction LearnMeterAddress() {
  return [](KitPage& page, const std::string& text) {
    const std::uint64_t number = CCMParser::GetDataElementValueUInt64(text, "datavalue");
    page.TextValue(IDC_METER_NUMBER) = std::to_string(number);
    AddressOf(page) = number;
  };
}

// ---- electricity meter

struct PowerValue {
  int id;
  const char* label;
  ValueKind kind;
  bool editable;
  int queryButton;
  int queryCode;
  const char* datatype;  // the "data" reply's "datatype" that fills it
  const char* widest = nullptr;  // the widest text of a text value
};

constexpr PowerValue kPowerValues[] = {
    {IDC_PM_VOLTAGE, "瞬时电压(V):", ValueKind::kFloat, false, IDC_PM_Q_VOLTAGE, 2, "InstantaneousVoltage"},
    {IDC_PM_CURRENT, "瞬时电流(A):", ValueKind::kFloat, false, IDC_PM_Q_CURRENT, 3, "InstantaneousCurrent"},
    {IDC_PM_ACTIVE_POWER, "瞬时A相有功功率(kWh):", ValueKind::kDouble, false, IDC_PM_Q_ACTIVE_POWER, 4,
     "InstantaneousActivePowerOfPhaseA"},
    {IDC_PM_POWER_FACTOR, "功率因数:", ValueKind::kDouble, false, IDC_PM_Q_POWER_FACTOR, 5, "PowerFactor"},
    {IDC_PM_DATE, "日期:", ValueKind::kText, true, IDC_PM_Q_DATE, 7, "Date", "2000-00-00"},
    {IDC_PM_TIME, "时间:", ValueKind::kText, true, IDC_PM_Q_TIME, 8, "Time", "00:00:00"},
    {IDC_METER_NUMBER, "电表表号:", ValueKind::kText, false, IDC_PM_Q_METER_NUMBER, 12, nullptr, kMeterNumberWidest},
    {IDC_PM_COVER_OPEN_COUNT, "开盖次数:", ValueKind::kUInt, false, IDC_PM_Q_COVER_OPEN_COUNT, 13, "CoverOpenCount"},
    {IDC_PM_AVAILABLE, "可用电量:", ValueKind::kDouble, true, IDC_PM_Q_AVAILABLE, 1, "AvailableEnergyAmount"},
    {IDC_PM_MAXIMUM_CURRENT, "当前设置的最大电流:", ValueKind::kDouble, true, IDC_PM_Q_MAXIMUM_CURRENT, 0,
     "MaximumCurrent"},
    {IDC_PM_ENERGY, "(当前)组合有功总电能(kWh):", ValueKind::kDouble, false, IDC_PM_Q_ENERGY, 6, "EnergyAmount"},
    {IDC_PM_ACCOUNT_DAY, "每月第一结算日:", ValueKind::kText, true, IDC_PM_Q_ACCOUNT_DAY, 9, "AccountDay", "00 00"},
    {IDC_PM_THIS_MONTH, "本月用电量(组合有功)(kWh):", ValueKind::kDouble, false, IDC_PM_Q_THIS_MONTH, 10,
     "EnergyAmountOfThisMonth"},
    {IDC_PM_LAST_MONTH, "上月用电量(组合有功)(kWh):", ValueKind::kDouble, false, IDC_PM_Q_LAST_MONTH, 11,
     "EnergyAmountOfLastMonth"},
};

// A button of the electricity page: its call, then the feedback icon
// pending whatever the result.
ButtonRow PowerButton(int id, const char* caption, KitCall call) {
  return Button(id, caption).Calls(std::move(call)).PendingIcon(IDC_PM_FEEDBACK_ICON);
}

// A setting button: the page read, refused while the meter number is not
// known.
ButtonRow PowerSetting(int id, const char* caption, KitCall call) {
  return PowerButton(id, caption, std::move(call)).Reads().Guard(RequireAddress("先获取表号!"));
}

template <typename Export, typename... Args>
int SendSetting(KitPage& p, Export exportFunction, Args... args) {
  return p.Send(exportFunction, Low(p), High(p), kPowerMeterCode1, kPowerMeterCode2, args...);
}

// A setting with the text of an edit (date, time) ...
ButtonRow TextSetting(int id, decltype(&SentrellApi::CM_IOT_PowerMeterCtrl_SetDate) setting, int edit) {
  return PowerSetting(id, "S", [setting, edit](KitPage& p) {
    return SendSetting(p, Api().*setting, p.TextValue(edit).c_str());
  });
}

// ... or with the number of an edit as a float (energy, current).
ButtonRow AmountSetting(int id, const char* caption,
                        decltype(&SentrellApi::CM_IOT_PowerMeterCtrl_SetMaximumCurrent) setting, int edit) {
  return PowerSetting(id, caption, [setting, edit](KitPage& p) {
    return SendSetting(p, Api().*setting, static_cast<float>(p.Double(edit)));
  });
}

std::vector<ButtonRow> PowerSettings() {
  return {
      TextSetting(IDC_PM_SET_DATE, &SentrellApi::CM_IOT_PowerMeterCtrl_SetDate, IDC_PM_DATE).In(kDataGroup).At(4, 3),
      TextSetting(IDC_PM_SET_TIME, &SentrellApi::CM_IOT_PowerMeterCtrl_SetTime, IDC_PM_TIME).In(kDataGroup).At(5, 3),
      AmountSetting(IDC_PM_ADD_AVAILABLE, "A", &SentrellApi::CM_IOT_PowerMeterCtrl_AddAvailableEnergyAmount,
                    IDC_PM_AVAILABLE)
          .In(kDataGroup)
          .At(8, 3),
      PowerButton(IDC_PM_CLEAR_AVAILABLE, "C",
                  [](KitPage& p) { return p.Send(Api().CM_IOT_PowerMeterCtrl_ClearAvailableEngeryAmount); })
          .In(kDataGroup)
          .At(8, 4),
      AmountSetting(IDC_PM_SET_MAXIMUM_CURRENT, "S", &SentrellApi::CM_IOT_PowerMeterCtrl_SetMaximumCurrent,
                    IDC_PM_MAXIMUM_CURRENT)
          .In(kDataGroup)
          .At(9, 3),
      PowerSetting(IDC_PM_SET_ACCOUNT_DAY, "S",
                   [](KitPage& p) {
                     const SettleDay day = ScanSettleDay(p.TextValue(IDC_PM_ACCOUNT_DAY));
                     return SendSetting(p, Api().CM_IOT_PowerMeterCtrl_SetAccountDay, day.day, day.hour);
                   })
          .In(kDataGroup)
          .At(11, 3),
  };
}

PageDescription PowerDescription() {
  PageDescription page;
  page.nodeFilter = true;
  page.controls = {
      Group(kDataGroup, "数据").At(0, 0, 1, 6),
      Group(kFaultGroup, "故障").At(0, 1),
      Edit(IDC_PM_FAULT, "", ValueKind::kText).ReadOnly().Widest(kLongestFaultWord).In(kFaultGroup).At(0, 0),
      Group(kRelayGroup, "继电器").At(1, 1),
      Icon(IDC_PM_RELAY_ICON).In(kRelayGroup).At(0, 1, 1, 2),
      Group(kFeedbackGroup, "指令反馈").At(2, 1),
      Icon(IDC_PM_FEEDBACK_ICON).In(kFeedbackGroup).At(0, 0),
      Label(IDC_PM_ACK, "ACK").In(kFeedbackGroup).At(0, 1),
  };
  std::vector<WordCase> datatypes;
  int row = 0;
  for (const PowerValue& v : kPowerValues) {
    ControlRow edit = Edit(v.id, v.label, v.kind).In(kDataGroup).At(row, 0);
    if (!v.editable) edit.ReadOnly();
    if (v.widest != nullptr) edit.Widest(v.widest);
    page.controls.push_back(std::move(edit));
    page.buttons.push_back(PowerButton(v.queryButton, "Q", [code = v.queryCode](KitPage& p) {
                             return p.Send(Api().CM_IOT_PowerMeterCtrl_QueryParameter, code);
                           })
                               .In(kDataGroup)
                               .At(row, 2));
    if (v.datatype != nullptr) datatypes.push_back({v.datatype, {SetValue(v.id, "datavalue")}});
    ++row;
  }
  datatypes.push_back({"MeterID", {LearnMeterAddress()}});
  for (ButtonRow& setting : PowerSettings()) page.buttons.push_back(std::move(setting));
  page.buttons.insert(
      page.buttons.end(),
      {
          PowerButton(IDC_PM_RELAY_ON, "继电器开", [](KitPage& p) { return p.Send(Api().CM_IOT_PowerMeterCtrl_RelayOn); })
              .In(kRelayGroup)
              .At(0, 0),
          PowerButton(IDC_PM_RELAY_OFF, "继电器关",
                      [](KitPage& p) { return p.Send(Api().CM_IOT_PowerMeterCtrl_RelayOff); })
              .In(kRelayGroup)
              .At(1, 0),
          PowerButton(IDC_PM_INIT, "初始化电表", [](KitPage& p) { return p.Send(Api().CM_IOT_PowerMeterCtrl_Init); })
              .At(3, 1),
          PowerButton(IDC_PM_QUERY_DATA, "获取数据",
                      [](KitPage& p) { return p.Send(Api().CM_IOT_PowerMeterCtrl_QueryData); })
              .At(4, 1),
      });
  page.replies = {
      On("ack", {SetValue(IDC_PM_ACK, "info"), Show()}),
      On("fault", {SetValue(IDC_PM_FAULT, "info"), Show()}),
      On("status", {Switch("info", Words::kIgnoringCase,
                           {{"on", {SetIcon(IDC_PM_RELAY_ICON, IconState::kOn)}},
                            {"off", {SetIcon(IDC_PM_RELAY_ICON, IconState::kOff)}}}),
                    Show()}),
      On("data", {Switch("datatype", Words::kIgnoringCase, std::move(datatypes)),
                  [](KitPage& p, const std::string&) {
                    p.ShowAllValues();
                    p.repaint();
                  }}),
  };
  page.onInit = [](KitPage& p) {
    // The template's "ACK" gives way to the (empty) acknowledgement text.
    p.TextValue(IDC_PM_ACK).clear();
    p.ShowAllValues();
  };
  return page;
}

// ---- water and gas meters

struct MeterFamily {
  decltype(&SentrellApi::CM_IOT_WaterMeterCtrl_QueryMeterId) queryMeterId;
  decltype(&SentrellApi::CM_IOT_WaterMeterCtrl_QueryData) queryData;
  decltype(&SentrellApi::CM_IOT_WaterMeterCtrl_Calibrate) calibrate;
};

constexpr MeterFamily kWater{&SentrellApi::CM_IOT_WaterMeterCtrl_QueryMeterId,
                             &SentrellApi::CM_IOT_WaterMeterCtrl_QueryData,
                             &SentrellApi::CM_IOT_WaterMeterCtrl_Calibrate};
constexpr MeterFamily kGas{&SentrellApi::CM_IOT_GasMeterCtrl_QueryMeterId, &SentrellApi::CM_IOT_GasMeterCtrl_QueryData,
                           &SentrellApi::CM_IOT_GasMeterCtrl_Calibrate};

constexpr const char* kNeedMeterNumber = "需要先查询表号";

// A button that carries the meter address.
ButtonRow AddressedButton(int id, const char* caption, KitCall call) {
  return Button(id, caption).Reads().Guard(RequireAddress(kNeedMeterNumber)).Calls(std::move(call));
}

// What the water and the gas page share: the "表信息" group and the fault
// and alarm texts; `onAck` runs after an acknowledgement is shown.
PageDescription MeterDescription(const MeterFamily& f, ReplyActions onAck = {}) {
  PageDescription page;
  page.nodeFilter = true;
  page.controls = {
      Group(kMeterGroup, "表信息").At(0, 0),
      Edit(IDC_METER_NUMBER, "表号:", ValueKind::kText).ReadOnly().Widest(kMeterNumberWidest).In(kMeterGroup).At(0, 0),
      Edit(IDC_WM_READING, "表字:", ValueKind::kFloat).ReadOnly().In(kMeterGroup).At(1, 0),
      Edit(IDC_WM_CALIBRATION, "校准值：", ValueKind::kFloat).In(kMeterGroup).At(2, 0),
      Group(kMessageGroup, "").At(2, 0),
      Edit(IDC_WM_FAULT, "故障信息:", ValueKind::kText).ReadOnly().Widest(kLongestFaultWord).In(kMessageGroup).At(0, 0),
      Edit(IDC_WM_ALARM, "报警信息:", ValueKind::kText).ReadOnly().Widest("FactoryModeOff").In(kMessageGroup).At(1, 0),
  };
  page.buttons = {
      Button(IDC_WM_QUERY_METER_NUMBER, "查询表号")
          .Calls([query = f.queryMeterId](KitPage& p) { return p.Send(Api().*query); })
          .In(kMeterGroup)
          .At(0, 2),
      Button(IDC_WM_QUERY_READING, "查询表字")
          .Calls([query = f.queryData](KitPage& p) { return p.Send(Api().*query); })
          .In(kMeterGroup)
          .At(1, 2),
      AddressedButton(IDC_WM_CALIBRATE, "校准",
                      [calibrate = f.calibrate](KitPage& p) {
                        return p.Send(Api().*calibrate, Low(p), High(p), p.Float(IDC_WM_CALIBRATION));
                      })
          .In(kMeterGroup)
          .At(2, 2),
  };
  ReplyActions ack = {SetValue(IDC_WM_ALARM, "info"), Show()};
  ack.insert(ack.end(), onAck.begin(), onAck.end());
  page.replies = {
      On("fault", {SetValue(IDC_WM_FAULT, "info"), Show()}),
      On("ack", ack),
      On("data", {Switch("datatype", Words::kIgnoringCase,
                         {{"Data", {SetValue(IDC_WM_READING, "datavalue")}}, {"MeterId", {LearnMeterAddress()}}}),
                  Show()}),
  };
  return page;
}

int& FactoryModeOf(KitPage& page) { return static_cast<CWaterMeterControl&>(page).FactoryMode(); }

ReplyAction SetFactoryMode(int state, const char* caption) {
  return [state, caption](KitPage& page, const std::string&) {
    FactoryModeOf(page) = state;
    page.SetCaptionOf(IDC_WM_FACTORY_MODE, caption);
  };
}

PageDescription WaterDescription() {
  // The factory-mode answers come as acknowledgements.
  PageDescription page = MeterDescription(
      kWater, {Switch("info", Words::kIgnoringCase,
                      {{"FactoryModeOn", {SetFactoryMode(1, "关闭工厂模式")}},
                       {"FactoryModeOff", {SetFactoryMode(0, "开启工厂模式")}}})});
  page.controls.insert(page.controls.end(),
                       {
                           Group(kValveGroup, "阀信息").At(1, 0),
                           Slider(IDC_WM_VALVE_SLIDER, 0, 2, 1).In(kValveGroup).At(0, 0, 2),
                           Icon(IDC_WM_VALVE_ICON).In(kValveGroup).At(0, 2),
                       });
  const auto valve = [](int value) {
    return [value](KitPage& p) { return p.Send(Api().CM_IOT_WaterMeterCtrl_ValveControl, Low(p), High(p), value); };
  };
  page.buttons.insert(
      page.buttons.end(),
      {
          AddressedButton(IDC_WM_FACTORY_MODE, "开启工厂模式",
                          [](KitPage& p) {
                            return p.Send(Api().CM_IOT_WaterMeterCtrl_SetFactoryMode, Low(p), High(p),
                                          FactoryModeOf(p) == 0 ? 1 : 0);
                          })
              .After([](KitPage& p, int) {
                p.SetCaptionOf(IDC_WM_FACTORY_MODE, FactoryModeOf(p) == 0 ? "工厂模式开启中..." : "工厂模式关闭中...");
              })
              .In(kMeterGroup)
              .At(3, 0, 2),
          AddressedButton(IDC_WM_OPEN_VALVE, "打开阀门", valve(1))
              .After(SetIconAfter(IDC_WM_VALVE_ICON, IconState::kBusy))
              .In(kValveGroup)
              .At(1, 0),
          AddressedButton(IDC_WM_CLOSE_VALVE, "关闭阀门", valve(0))
              .After(SetIconAfter(IDC_WM_VALVE_ICON, IconState::kBusy))
              .In(kValveGroup)
              .At(1, 1),
          Button(IDC_WM_QUERY_VALVE, "查询阀位置")
              .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_WaterMeterCtrl_QueryValveStatus); })
              .In(kValveGroup)
              .At(2, 0),
          AddressedButton(IDC_WM_VALVE_TEST, "阀测试",
                          [](KitPage& p) { return p.Send(Api().CM_IOT_WaterMeterCtrl_ValveTest, Low(p), High(p)); })
              .In(kValveGroup)
              .At(2, 1),
      });
  page.replies.push_back(On("valvepos", {Switch("info", Words::kIgnoringCase,
                                                {{"On",
                                                  {SetPosition(IDC_WM_VALVE_SLIDER, 2),
                                                   SetIcon(IDC_WM_VALVE_ICON, IconState::kOff)}},
                                                 {"Off",
                                                  {SetPosition(IDC_WM_VALVE_SLIDER, 0),
                                                   SetIcon(IDC_WM_VALVE_ICON, IconState::kOn)}},
                                                 {"Unknown",
                                                  {SetPosition(IDC_WM_VALVE_SLIDER, 1),
                                                   SetIcon(IDC_WM_VALVE_ICON, IconState::kPending)}}}),
                                         Show()}));
  page.replies.push_back(On("valvestatus", {Switch("info", Words::kExact,
                                                   {{"Running", {SetIcon(IDC_WM_VALVE_ICON, IconState::kBusy)}},
                                                    {"Stopped", {SetIcon(IDC_WM_VALVE_ICON, IconState::kPending)}}})}));
  return page;
}

// The number at the start of `text` as "%d" reads it (blanks first); false
// when there is none or it does not fit.
bool ScanInt(const char*& at, const char* end, int& value) {
  while (at != end && std::isspace(static_cast<unsigned char>(*at))) ++at;
  const char* digits = at != end && *at == '+' ? at + 1 : at;
  if (digits != at && digits != end && *digits == '-') return false;
  const auto [next, error] = std::from_chars(digits, end, value);
  if (error != std::errc()) return false;
  at = next;
  return true;
}

}  // namespace

SettleDay ScanSettleDay(const std::string& text) {
  SettleDay result;
  const char* at = text.data();
  const char* end = at + text.size();
  int day = 0;
  int hour = 0;
  if (!ScanInt(at, end, day)) return result;
  result.day = day;
  if (ScanInt(at, end, hour)) result.hour = hour;
  return result;
}

MeterPage::MeterPage(const char* caption, int dialogId, PageDescription description, QWidget* parent)
    : KitPage(QString::fromUtf8(caption), dialogId, std::move(description), parent) {}

CPowerMeterControlPage::CPowerMeterControlPage(QWidget* parent)
    : MeterPage("数据采集::电量测量控制", 185, PowerDescription(), parent) {}

CWaterMeterControl::CWaterMeterControl(QWidget* parent) : MeterPage("数据采集::水表", 191, WaterDescription(), parent) {}

CGasMeterControlPage::CGasMeterControlPage(QWidget* parent)
    : MeterPage("数据采集::气表", 192, MeterDescription(kGas), parent) {}
