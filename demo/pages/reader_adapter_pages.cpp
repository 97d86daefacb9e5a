#include "demo/pages/reader_adapter_pages.h"

#include <string>
#include <vector>

#include "demo/shell/sentrell_api.h"

namespace {

constexpr int kCardGroup = 1;  // "获取卡号"

// "fault": the "info" words, ignoring case, logged without a family word.
ReplyRule CardFault() { return On("fault", {FaultLog("", Words::kIgnoringCase)}); }

PageDescription Card125K() {
  PageDescription page;
  page.nodeFilter = true;
  page.controls = {
      Group(kCardGroup, "获取卡号").At(0, 0),
      Edit(IDC_RFID_CARD, {}, ValueKind::kText).ReadOnly().Widest("FFFFFFFF").In(kCardGroup).At(0, 1),
  };
  // The reader reports cards by itself: the button only checks the session.
  page.buttons = {Button(IDC_RFID_GET_CARD, "获取卡号(&G)").In(kCardGroup).At(0, 0)};
  page.replies = {On("data", {SetValue(IDC_RFID_CARD, "info"), Show()}), CardFault()};
  return page;
}

PageDescription Card13M56() {
  PageDescription page;
  page.nodeFilter = true;
  page.controls = {
      Group(kCardGroup, "获取卡号").At(0, 0),
      // A type A card shows 8 hex digits, a type B card 24.
      Edit(IDC_RFID_CARD, "卡号:", ValueKind::kText).ReadOnly().Widest("FFFFFFFFFFFFFFFFFFFFFFFF").In(kCardGroup).At(0, 0),
      Edit(IDC_RFID_ACTION, "动作方式:", ValueKind::kText).ReadOnly().Widest("approach").In(kCardGroup).At(1, 0),
      Edit(IDC_RFID_CARD_TYPE, "卡类型:", ValueKind::kText).ReadOnly().In(kCardGroup).At(2, 0),
  };
  page.buttons = {Button(IDC_RFID_GET_CARD, "获取卡号(&G)").Disabled().Reads().In(kCardGroup).At(0, 2)};
  page.replies = {On("data", {SetValue(IDC_RFID_ACTION, "action"), SetValue(IDC_RFID_CARD_TYPE, "cardtype"),
                              SetValue(IDC_RFID_CARD, "info"), Show()}),
                  CardFault()};
  return page;
}

// "获取数据": the adapter's data; the result is not looked at.
ButtonRow RequestData() {
  return Button(IDC_ADAPTER_GET_DATA, "获取数据").Calls([](KitPage& p) { return p.Send(Api().CM_IOT_ADAPTER_ReqData); });
}

PageDescription Adapter() {
  PageDescription page;
  page.controls = {
      Edit(IDC_ADAPTER_TYPE, "类型代号:", ValueKind::kInt).At(0, 0),
      // Shows nothing: no value is bound to it.
      Edit(IDC_ADAPTER_DATA, "数据:", ValueKind::kNone).At(1, 0),
  };
  page.buttons = {
      Button(IDC_ADAPTER_GET_TYPE, "获取类型")
          .Calls([](KitPage& p) {
            p.ClearValue(IDC_ADAPTER_TYPE);
            p.ShowAllValues();
            return p.Send(Api().CM_IOT_ADAPTER_ReqType);
          })
          .At(0, 2),
      RequestData().At(1, 2),
  };
  return page;
}

// An adapter page: its edits and, for any message name, the values read
// from every drained text and shown.
PageDescription AdapterSensor(std::vector<ControlRow> controls, ReplyActions read, int buttonRow) {
  PageDescription page;
  page.controls = std::move(controls);
  page.buttons = {RequestData().At(buttonRow, 0)};
  read.push_back(Show());
  page.replies = {OnAnyName(std::move(read))};
  return page;
}

PageDescription Anemometer() {
  return AdapterSensor({Edit(IDC_ADAPTER_WIND_SPEED, "风速(m/s):", ValueKind::kFloat).At(0, 0)},
                       {SetValue(IDC_ADAPTER_WIND_SPEED, "WindSpeed")}, 1);
}

PageDescription WindVane() {
  return AdapterSensor({Edit(IDC_ADAPTER_WIND_DIRECTION, "风向(°):", ValueKind::kInt).Range(0, 360).At(0, 0)},
                       {SetValue(IDC_ADAPTER_WIND_DIRECTION, "WindDirection")}, 1);
}

struct StationValue {
  int id;
  const char* label;
  ValueKind kind;
  const char* element;  // null: one of the ground temperatures
  const char* widest = nullptr;  // the widest text of a text value
};

constexpr int kGroundTemperatureIds[] = {1170, 1163, 1171, 1172, 1173};

constexpr StationValue kStationValues[] = {
    {1182, "时间:", ValueKind::kText, "Time", "2000-00-00 00:00:00"},
    {1186, "电量:", ValueKind::kFloat, "Voltage"},
    {1162, "环境温度(℃):", ValueKind::kFloat, "Temperature"},
    {1080, "环境湿度(%RH):", ValueKind::kFloat, "Humidity"},
    {1169, "露点温度(℃):", ValueKind::kFloat, "DewTemperature"},
    {1170, "地温1(℃)", ValueKind::kFloat, nullptr},
    {1163, "地温2(℃)", ValueKind::kFloat, nullptr},
    {1171, "地温3(℃)", ValueKind::kFloat, nullptr},
    {1172, "地温4(℃)", ValueKind::kFloat, nullptr},
    {1173, "地温5(℃)", ValueKind::kFloat, nullptr},
    {1164, "海拔(m):", ValueKind::kFloat, "Altitude"},
    {1183, "气压(hPa):", ValueKind::kFloat, "AtmosphericPressure"},
    {1167, "风向(°):", ValueKind::kInt, "WindDirection"},
    {1157, "瞬时风速(m/s):", ValueKind::kFloat, "WindSpeed"},
    {1175, "2分钟平均风速(m/s):", ValueKind::kFloat, "WindSppedIn2min"},
    {1176, "10分钟平均风速(m/s):", ValueKind::kFloat, "WindSpeedIn10min"},
    {1166, "辐射1瞬时(W/㎡):", ValueKind::kInt, "UltravioletRadiation"},
    {1177, "辐射1累计(MJ/㎡):", ValueKind::kFloat, "UltravioletRadiationAccu"},
    {1178, "辐射2瞬时(W/㎡):", ValueKind::kInt, "GlobalRadiation"},
    {1179, "辐射2累计(MJ/㎡):", ValueKind::kFloat, "GlobalRadiationAccu"},
    {1095, "光照度(lux):", ValueKind::kFloat, "Illuminance"},
    {1180, "日照时(h):", ValueKind::kFloat, "SunshineDuration"},
    {1181, "雨量(mm):", ValueKind::kFloat, "Rainfall"},
};

PageDescription WeatherStation() {
  constexpr int kRows = 8;  // three columns of label and edit
  std::vector<ControlRow> controls;
  ReplyActions read;
  int index = 0;
  for (const StationValue& v : kStationValues) {
    ControlRow edit = Edit(v.id, v.label, v.kind).At(index % kRows, 2 * (index / kRows));
    if (v.widest != nullptr) edit.Widest(v.widest);
    controls.push_back(std::move(edit));
    if (v.element != nullptr) read.push_back(SetValue(v.id, v.element));
    ++index;
  }
  // At most five ground temperatures; those the array does not reach keep
  // their values.
  read.push_back(ReadArray({std::begin(kGroundTemperatureIds), std::end(kGroundTemperatureIds)}, "GroundTemperature",
                           Rest::kLeave));
  return AdapterSensor(std::move(controls), std::move(read), kRows);
}

}  // namespace

CDAPage::CDAPage(QWidget* parent) : CPropertyPage(QString::fromUtf8("数据采集"), 149, parent) {}

CRFIDControl125KPage::CRFIDControl125KPage(QWidget* parent)
    : KitPage(QString::fromUtf8("数据采集::RFID(125K)"), 187, Card125K(), parent) {}

CRFIDControl13M56Page::CRFIDControl13M56Page(QWidget* parent)
    : KitPage(QString::fromUtf8("数据采集::RFID(13.65M)"), 186, Card13M56(), parent) {}

CAdapterPage::CAdapterPage(QWidget* parent) : KitPage(QString::fromUtf8("适配器"), 174, Adapter(), parent) {}

CAdapterFSPage::CAdapterFSPage(QWidget* parent)
    : KitPage(QString::fromUtf8("适配器::风速计"), 171, Anemometer(), parent) {}

CAdapterFXPage::CAdapterFXPage(QWidget* parent)
    : KitPage(QString::fromUtf8("适配器::风向计"), 172, WindVane(), parent) {}

CAdapterWSPage::CAdapterWSPage(QWidget* parent)
    : KitPage(QString::fromUtf8("适配器::气象站"), 173, WeatherStation(), parent) {}
