// The card reader and adapter pages: their buttons, the node filter of the
// card readers, the adapter replies read whatever their name, and the wind
// vane's range when the page is left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLineEdit>
#include <QPushButton>

#include "demo/pages/page_factory.h"
#include "demo/pages/reader_adapter_pages.h"
#include "demo/shell/page_table.h"
#include "library/api/commands_switches.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/pages/target_replies.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::Decoded;
using demotest::FakeApi;
using demotest::RecordedCall;

constexpr std::uint8_t kRfid13M56 = 91, kRfid125K = 92, kAdapter = 103;

class ReaderAdapterTest : public demotest::PageFixture {
 protected:
  ReaderAdapterTest() {
    for (KitPage* page : std::initializer_list<KitPage*>{&card125K, &card13M56, &adapter, &fs, &fx, &ws})
      page->EnsureCreated();
  }

  static void Queue(KitPage& page, const std::string& text) { page.QueueReply(text); }
  static QString EditText(KitPage& page, int id) { return Control<QLineEdit>(page, id).text(); }

  CRFIDControl125KPage card125K;
  CRFIDControl13M56Page card13M56;
  CAdapterPage adapter;
  CAdapterFSPage fs;
  CAdapterFXPage fx;
  CAdapterWSPage ws;
};

TEST_F(ReaderAdapterTest, AdapterButtonsCallTheirExportsAndReportNothing) {
  struct Case {
    KitPage* page;
    int button;
    const char* caption;
    const char* name;
  };
  const std::vector<Case> cases = {
      {&adapter, 1158, "获取类型", "CM_IOT_ADAPTER_ReqType"}, {&adapter, 1156, "获取数据", "CM_IOT_ADAPTER_ReqData"},
      {&fs, 1156, "获取数据", "CM_IOT_ADAPTER_ReqData"},      {&fx, 1156, "获取数据", "CM_IOT_ADAPTER_ReqData"},
      {&ws, 1156, "获取数据", "CM_IOT_ADAPTER_ReqData"},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      auto& button = Control<QPushButton>(*c.page, c.button);
      EXPECT_EQ(button.text(), QString::fromUtf8(c.caption));
      button.click();
      EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{c.name, {kHandle, kNvsid, kNetId, kNodeAddress}}}))
          << c.name;
    }
  }
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ReaderAdapterTest, GetTypeShowsZeroAfterTheSessionCheckThenAsks) {
  adapter.Int(IDC_ADAPTER_TYPE) = 7;
  adapter.ShowAllValues();
  theApp.m_hSession = nullptr;
  adapter.Press(IDC_ADAPTER_GET_TYPE);
  EXPECT_EQ(EditText(adapter, IDC_ADAPTER_TYPE), "7");
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("请先初始化模块!")});
  theApp.m_hSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
  FakeApi::SetResult(-1);
  adapter.Press(IDC_ADAPTER_GET_TYPE);
  EXPECT_EQ(EditText(adapter, IDC_ADAPTER_TYPE), "0");
  EXPECT_EQ(FakeApi::Calls().size(), 1u);
  EXPECT_EQ(EditText(adapter, IDC_ADAPTER_DATA), "");
}

TEST_F(ReaderAdapterTest, CardButtonsSendNothing) {
  card125K.Press(IDC_RFID_GET_CARD);
  EXPECT_TRUE(ui.messages.isEmpty());
  theApp.m_hSession = nullptr;
  card125K.Press(IDC_RFID_GET_CARD);
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("请先初始化模块!")});
  auto* disabled = card13M56.findChild<QPushButton*>(QString::number(IDC_RFID_GET_CARD));
  ASSERT_NE(disabled, nullptr);
  EXPECT_FALSE(disabled->isEnabled());
  EXPECT_EQ(disabled->text(), QStringLiteral("获取卡号(&G)"));
  card13M56.Press(IDC_RFID_GET_CARD);
  EXPECT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(FakeApi::Calls().empty());
}

TEST_F(ReaderAdapterTest, CardReportsOfTheTargetNodeAreShown) {
  Show(card13M56, Decoded(kRfid13M56, 0x43, {0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(EditText(card13M56, IDC_RFID_CARD), "12345678");
  EXPECT_EQ(EditText(card13M56, IDC_RFID_ACTION), "unknown");
  EXPECT_EQ(EditText(card13M56, IDC_RFID_CARD_TYPE), "A");
  Show(card125K, Decoded(kRfid125K, 0x43, {0xEF, 0xBE, 0xAD, 0xDE}));
  EXPECT_EQ(EditText(card125K, IDC_RFID_CARD), "DEADBEEF");

  // A report of another node is skipped; the next in the same drain is shown.
  Queue(card125K, Decoded(kRfid125K, 0x43, {1, 0, 0, 0}, kNvsid, 3));
  Queue(card125K, Decoded(kRfid125K, 0x43, {2, 0, 0, 0}));
  card125K.OnDeviceReply(0, 0);
  EXPECT_EQ(EditText(card125K, IDC_RFID_CARD), "00000002");
  Show(card13M56, Decoded(kRfid13M56, 0x43, {9, 0, 0, 0}, kNvsid + 1));
  EXPECT_EQ(EditText(card13M56, IDC_RFID_CARD), "12345678");
}

TEST_F(ReaderAdapterTest, CardFaultsAreLoggedWithoutAFamilyWord) {
  const demotest::ReplyNode target{kNvsid, kNetId, kNodeAddress};
  Show(card13M56, demotest::NodeReply("RFIDCONTROL13M56", "fault", {{"info", "power"}}, target));
  Show(card125K, demotest::NodeReply("RFIDCONTROL125K", "Fault", {{"info", "SENSOR"}}, target));
  Show(card125K, demotest::NodeReply("RFIDCONTROL125K", "fault", {{"info", "other"}}, target));
  EXPECT_EQ(Log().count(QStringLiteral("电源故障")), 1);
  EXPECT_EQ(Log().count(QStringLiteral("传感器故障!")), 1);
  EXPECT_FALSE(Log().contains(QStringLiteral("RFID")));
}

TEST_F(ReaderAdapterTest, AnemometerAndWindVaneReadEveryText) {
  // Sensor 1: the anemometer, tenths of m/s from byte 4 on.
  Show(fs, Decoded(kAdapter, 0x52, {1, 0, 0, 0, 57, 0, 0, 0}));
  EXPECT_EQ(EditText(fs, IDC_ADAPTER_WIND_SPEED), "5");
  Show(fs, demotest::NodeReply("ADAPTER", "fault", {{"info", "sensor"}}));
  EXPECT_EQ(EditText(fs, IDC_ADAPTER_WIND_SPEED), "0");
  Show(fx, Decoded(kAdapter, 0x52, {2, 0, 0, 0, 44, 1, 0, 0}));
  EXPECT_EQ(EditText(fx, IDC_ADAPTER_WIND_DIRECTION), "300");
  EXPECT_TRUE(fx.OnKillActive());
}

TEST_F(ReaderAdapterTest, AWindDirectionAbove360KeepsTheUserOnThePage) {
  Show(fx, Decoded(kAdapter, 0x52, {2, 0, 0, 0, 0x90, 1, 0, 0}));
  EXPECT_EQ(EditText(fx, IDC_ADAPTER_WIND_DIRECTION), "400");
  EXPECT_FALSE(fx.OnKillActive());
  EXPECT_EQ(ui.messages.size(), 1);
  qobject_cast<QLineEdit*>(fx.Widget(IDC_ADAPTER_WIND_DIRECTION))->setText(QStringLiteral("360"));
  EXPECT_TRUE(fx.OnKillActive());
}

TEST_F(ReaderAdapterTest, WeatherStationShowsTheWholeRecord) {
  // Node 3 of the stand-in has a weather station: its record comes in three
  // parts, and the last part's text carries the whole record.
  testsupport::SimulatedDevice station(kAdapter, kNetId, 3, kNvsid);
  const std::vector<std::string> texts = station.Send(AdapterReqData());
  ASSERT_EQ(texts.size(), 3u);
  const std::string text = texts.back();
  ASSERT_FALSE(text.empty());
  Show(ws, text);
  const std::vector<std::pair<int, const char*>> shown = {
      {1182, "2024-05-17 08:30:15"}, {1186, "12.5"},   {1162, "23.5"},  {1080, "65.5"},  {1169, "16.75"},
      {1170, "21.5"},                {1163, "-2.5"},   {1171, "10"},    {1172, "0"},     {1173, "0.5"},
      {1164, "45.5"},                {1183, "1013.5"}, {1167, "300"},   {1157, "3.5"},   {1175, "3"},
      {1176, "2.5"},                 {1166, "45"},     {1177, "1.25"},  {1178, "650"},   {1179, "15.5"},
      {1095, "0"},                   {1180, "7.5"},    {1181, "12.5"},
  };
  for (const auto& [id, value] : shown) EXPECT_EQ(EditText(ws, id), QString::fromUtf8(value)) << id;

  // Only "Temperature": the rest 0 or empty, the ground temperatures kept.
  Show(ws, "{\"data\":{\"Temperature\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\","
           "\"value\":21.5}},\"devtype\":\"ADAPTER\",\"msg\":\"data\",\"netid\":1,\"nodid\":2,\"nvsid\":1000001,"
           "\"version\":2}\n");
  EXPECT_EQ(EditText(ws, 1162), "21.5");
  EXPECT_EQ(EditText(ws, 1182), "");
  EXPECT_EQ(EditText(ws, 1167), "0");
  EXPECT_EQ(EditText(ws, 1186), "0");
  EXPECT_EQ(EditText(ws, 1170), "21.5");
  EXPECT_EQ(EditText(ws, 1173), "0.5");
}

TEST_F(ReaderAdapterTest, GroundTemperaturesTakeAtMostFiveAndKeepTheRest) {
  const auto ground = [](const char* values) {
    return std::string("{\"data\":{\"GroundTemperature\":{\"precision\":1,\"subtype\":\"\",\"type\":\"array\","
                       "\"unit\":\"\",\"value\":") +
           values + "}},\"devtype\":\"ADAPTER\",\"msg\":\"data\",\"nvsid\":1000001,\"netid\":1,\"nodid\":2}\n";
  };
  Show(ws, ground("[1.0,2.0,3.0,4.0,5.0,6.0,7.0]"));
  EXPECT_EQ(EditText(ws, 1173), "5");
  Show(ws, ground("[8.0,9.0,10.5]"));
  const std::vector<std::pair<int, const char*>> shown = {
      {1170, "8"}, {1163, "9"}, {1171, "10.5"}, {1172, "4"}, {1173, "5"}};
  for (const auto& [id, value] : shown) EXPECT_EQ(EditText(ws, id), QString::fromUtf8(value)) << id;
}

TEST(ReaderAdapterPages, TheDataAcquisitionCategoryPageHasNoControls) {
  const auto page = CreatePage(PageRow{"数据采集", "CDAPage", 149});
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Caption(), QStringLiteral("数据采集"));
  page->EnsureCreated();
  EXPECT_TRUE(page->findChildren<QWidget*>().isEmpty());
}

}  // namespace
