// The sampling collector pages: their buttons and exports with the failure
// lines, the clearing before and after a command, the sampling checks, and
// the replies the library's decoders make of the collectors' frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "demo/pages/collector_pages.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/pages/target_replies.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::Decoded;
using demotest::FakeApi;
using demotest::RecordedCall;

constexpr std::uint8_t kDais = 60, kTdc = 61, kThdc = 62, kIdc = 63;

// A payload of a collector: count, precision, result, a spare byte, then
// the 32-bit readings, least significant byte first.
std::vector<std::uint8_t> CollectorPayload(std::uint8_t count, std::uint8_t precision, std::uint8_t result,
                                           const std::vector<std::int32_t>& readings) {
  std::vector<std::uint8_t> bytes = {count, precision, result, 0};
  for (std::int32_t reading : readings) {
    const auto value = static_cast<std::uint32_t>(reading);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  }
  return bytes;
}

// A hand-made collector reply, for texts no decoder sends.
std::string CollectorText(const std::string& devtype, const std::string& msg, const std::string& data) {
  return "{\"data\":{" + data + "},\"devtype\":\"" + devtype + "\",\"msg\":\"" + msg +
         "\",\"netid\":1,\"nodid\":2,\"nvsid\":1000001,\"version\":2}\n";
}
std::string Element(const std::string& name, int precision, const std::string& value) {
  return "\"" + name + "\":{\"precision\":" + std::to_string(precision) +
         ",\"subtype\":\"\",\"type\":\"number\",\"unit\":\"\",\"value\":" + value + "}";
}

class CollectorTest : public demotest::PageFixture {
 protected:
  CollectorTest() {
    for (KitPage* page : Pages()) {
      page->SetUtcClock([] { return TimeOfDay{8, 9, 10, 11}; });
      page->EnsureCreated();
    }
  }

  std::vector<KitPage*> Pages() { return {&thdc, &tdc, &idc, &dais}; }

  static QString EditText(KitPage& page, int id) { return Control<QLineEdit>(page, id).text(); }
  static void Type(KitPage& page, int id, const char* text) {
    Control<QLineEdit>(page, id).setText(QString::fromUtf8(text));
  }
  static std::vector<QString> Row(KitPage& page, int listId, int row) {
    std::vector<QString> cells;
    QTableWidget* list = page.ListView(listId);
    for (int column = 0; column < list->columnCount(); ++column) {
      QTableWidgetItem* item = list->item(row, column);
      cells.push_back(item != nullptr ? item->text() : QString());
    }
    return cells;
  }

  CTHDCPage thdc;
  CTDCPage tdc;
  CIDCPage idc;
  CDAISPage dais;
};

TEST_F(CollectorTest, ButtonsCallTheirExportsAndLogTheFailureLineOnMinusOne) {
  struct Case {
    KitPage* page;
    int button;
    const char* caption;
    RecordedCall call;
    std::string failure;
  };
  const std::vector<long long> node = {kHandle, kNvsid, kNetId, kNodeAddress};
  const auto with = [&node](std::vector<long long> more) {
    std::vector<long long> args = node;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  std::vector<Case> cases;
  struct Family {
    KitPage* page;
    std::string word;
    std::string prefix;
    std::vector<double> limits;
  };
  const std::vector<Family> families = {
      {&thdc, "THDC", "温湿度采集节点: ", {-10, 50, 20, 90}},
      {&tdc, "TDC", "温度采集节点: ", {-5.5, 40.25}},
      {&idc, "IDC", "光照度采集节点: ", {100, 5000}},
      {&dais, "DAIS", "双轴倾角节点: ", {-1.5, 1.5, -2.5, 2.5}},
  };
  for (const Family& f : families) {
    const std::string e = "CM_IOT_" + f.word;
    const auto add = [&](int button, const char* caption, const std::string& name, std::vector<long long> args,
                         std::vector<double> reals, const std::string& line) {
      cases.push_back({f.page, button, caption, {name, std::move(args), {}, std::move(reals)}, f.prefix + line});
    };
    add(1184, "查询范围", e + "_QueryRange", node, {}, "查询测量范围错误!");
    add(1074, "单次采集", e + "_Sampling", node, {}, "单次采集错误!");
    add(1076, "开始", e + "_StartContinuousSampling", with({1000, 1}), {}, "开始采集错误!");
    add(1077, "停止", e + "_StopContinuousSampling", node, {}, "停止采集错误!");
    add(1075, "查询报警值", e + "_QueryLimit", node, {}, "查询报警值错误!");
    add(1036, "设置报警值", e + "_SetLimit", node, f.limits, "设置报警值错误!");
    if (f.page == &dais) {
      add(1190, "重置", "CM_IOT_DAIS_ZeroSetting", node, {}, "置零错误!");
      add(1191, "查询", "CM_IOT_DAIS_QueryZeroSetting", node, {}, "查询置零值错误!");
    }
  }
  // The limits in the page's edits: lower, upper of each channel.
  const auto typeLimits = [this] {
    Type(thdc, 1081, "-10");
    Type(thdc, 1082, "50");
    Type(thdc, 1083, "20");
    Type(thdc, 1084, "90");
    Type(tdc, 1081, "-5.5");
    Type(tdc, 1082, "40.25");
    Type(idc, 1094, "100");
    Type(idc, 1093, "5000");
    Type(dais, 1088, "-1.5");
    Type(dais, 1087, "1.5");
    Type(dais, 1090, "-2.5");
    Type(dais, 1089, "2.5");
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi fresh;
      FakeApi::SetResult(result);
      typeLimits();
      const QString before = Log();
      auto& button = Control<QPushButton>(*c.page, c.button);
      EXPECT_EQ(button.text(), QString::fromUtf8(c.caption)) << c.call.name;
      button.click();
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{c.call}) << c.call.name;
      const QString added = Log().mid(before.size());
      if (result == -1) {
        EXPECT_TRUE(added.contains(QString::fromStdString(c.failure))) << c.failure << " " << added.toStdString();
      } else {
        EXPECT_TRUE(added.isEmpty()) << c.call.name << " " << result << " " << added.toStdString();
      }
      EXPECT_EQ(c.page->IconStateOf(IDC_COLLECTOR_STATE), IconState::kTemplate) << c.call.name;
    }
  }
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CollectorTest, SetLimitShowsZeroLimitsAfterTheCallWhateverTheResult) {
  for (int result : {1, -1}) {
    FakeApi::SetResult(result);
    Type(thdc, 1081, "-10");
    Type(thdc, 1082, "50");
    Type(thdc, 1083, "20");
    Type(thdc, 1084, "90");
    thdc.Press(IDC_COLLECTOR_SET_LIMIT);
    for (int id : {1081, 1082, 1083, 1084}) EXPECT_EQ(EditText(thdc, id), "0") << id << " " << result;
  }
  EXPECT_EQ(FakeApi::Calls().size(), 2u);
}

TEST_F(CollectorTest, WithoutASessionTheFieldsAreClearedAndShownBeforeTheMessage) {
  theApp.m_hSession = nullptr;
  struct Case {
    int button;
    std::vector<int> cleared;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {1075, {1081, 1082, 1083, 1084}, "0"},
      {1074, {1079, 1080}, "0"},
      {1184, {1194, 1195}, ""},
  };
  for (const Case& c : cases) {
    for (int id : c.cleared) Type(thdc, id, "12");
    ui.messages.clear();
    thdc.Press(c.button);
    for (int id : c.cleared) EXPECT_EQ(EditText(thdc, id), QString::fromUtf8(c.shown)) << c.button << " " << id;
    EXPECT_EQ(ui.messages, QStringList{QStringLiteral("请先初始化模块!")}) << c.button;
  }
  thdc.Press(IDC_COLLECTOR_START);
  thdc.Press(IDC_COLLECTOR_SET_LIMIT);
  EXPECT_TRUE(FakeApi::Calls().empty());
}

TEST_F(CollectorTest, ContinuousSamplingIsCheckedBeforeItStarts) {
  struct Case {
    const char* period;
    const char* count;
    const char* message;
  };
  const std::vector<Case> refused = {
      {"999", "1", "连续采集周期必须大于1000ms."},
      {"-1", "1", "连续采集周期必须大于1000ms."},
      {"1000", "0", "至少为1."},
      {"1000", "-3", "至少为1."},
  };
  for (KitPage* page : Pages()) {
    for (const Case& c : refused) {
      ui.messages.clear();
      Type(*page, IDC_COLLECTOR_PERIOD, c.period);
      Type(*page, IDC_COLLECTOR_COUNT, c.count);
      page->Press(IDC_COLLECTOR_START);
      EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8(c.message)}) << c.period << " " << c.count;
    }
  }
  EXPECT_TRUE(FakeApi::Calls().empty());
  Type(thdc, IDC_COLLECTOR_PERIOD, "1000");
  Type(thdc, IDC_COLLECTOR_COUNT, "1");
  thdc.Press(IDC_COLLECTOR_START);
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_THDC_StartContinuousSampling",
                                                      {kHandle, kNvsid, kNetId, kNodeAddress, 1000, 1}}}));
}

TEST_F(CollectorTest, AValueThatDoesNotParseSendsNothing) {
  Type(thdc, 1081, "abc");
  ui.messages.clear();
  thdc.Press(IDC_COLLECTOR_SET_LIMIT);
  Type(idc, 1093, "12.5");
  idc.Press(IDC_COLLECTOR_SET_LIMIT);
  EXPECT_EQ(ui.messages.size(), 2);
  EXPECT_TRUE(FakeApi::Calls().empty());
}

TEST_F(CollectorTest, EveryDrainedTextTurnsTheStateIconPending) {
  for (KitPage* page : Pages()) {
    page->SetIconState(IDC_COLLECTOR_STATE, IconState::kOn);
    Show(*page, CollectorText("THDC", "somethingelse", Element("temperature", 1, "1.5")));
    EXPECT_EQ(page->IconStateOf(IDC_COLLECTOR_STATE), IconState::kPending);
    EXPECT_EQ(page->ListView(IDC_COLLECTOR_SAMPLES)->rowCount(), 0);
  }
  EXPECT_TRUE(Log().isEmpty());
}

TEST_F(CollectorTest, SetLimitRepliesSetTheIconTheLogAndTheLimits) {
  // Upper, then lower limit of each channel in the frame; precision 1.
  Show(thdc, Decoded(kThdc, 0x51, CollectorPayload(0, 1, 0, {505, -105, 900, 200})));
  EXPECT_EQ(thdc.IconStateOf(IDC_COLLECTOR_STATE), IconState::kOn);
  EXPECT_TRUE(Log().contains(QStringLiteral("THDC设置上下限成功")));
  EXPECT_EQ(EditText(thdc, 1081), "-10.5");
  EXPECT_EQ(EditText(thdc, 1082), "50.5");
  EXPECT_EQ(EditText(thdc, 1083), "20");
  EXPECT_EQ(EditText(thdc, 1084), "90");

  Show(thdc, Decoded(kThdc, 0x51, CollectorPayload(0, 1, 1, {505, -105, 900, 200})));
  EXPECT_EQ(thdc.IconStateOf(IDC_COLLECTOR_STATE), IconState::kOff);
  EXPECT_TRUE(Log().contains(QStringLiteral("THDC设置上下限错误")));
  for (int id : {1081, 1082, 1083, 1084}) EXPECT_EQ(EditText(thdc, id), "0") << id;

  // Another result: the icon stays pending and nothing is logged.
  const QString before = Log();
  thdc.Float(1081) = 3;
  thdc.ShowAllValues();
  Show(thdc, CollectorText("THDC", "setlimit",
                           "\"result\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\","
                           "\"value\":\"pending\"}," +
                               Element("temperature", 1, "[1.0,2.0]")));
  EXPECT_EQ(thdc.IconStateOf(IDC_COLLECTOR_STATE), IconState::kPending);
  EXPECT_EQ(Log(), before);
  EXPECT_EQ(EditText(thdc, 1081), "3");

  // The one-value pages: their two limits; IDC reads integers.
  Show(idc, Decoded(kIdc, 0x51, CollectorPayload(0, 0, 0, {5000, 100})));
  EXPECT_TRUE(Log().contains(QStringLiteral("IDC设置上下限成功")));
  EXPECT_EQ(EditText(idc, 1094), "100");
  EXPECT_EQ(EditText(idc, 1093), "5000");
  Show(tdc, Decoded(kTdc, 0x51, CollectorPayload(0, 1, 1, {400, 10})));
  EXPECT_EQ(tdc.IconStateOf(IDC_COLLECTOR_STATE), IconState::kOff);
  EXPECT_TRUE(Log().contains(QStringLiteral("TDC设置上下限错误")));
}

TEST_F(CollectorTest, QueriesShowLimitsRangesSingleValuesAndTheZeroPoint) {
  Show(thdc, Decoded(kThdc, 0x54, CollectorPayload(0, 1, 0, {505, -105, 900, 200})));
  EXPECT_EQ(EditText(thdc, 1081), "-10.5");
  EXPECT_EQ(EditText(thdc, 1084), "90");
  Show(thdc, Decoded(kThdc, 0x55, CollectorPayload(0, 1, 0, {1250, -400, 1000, 0})));
  EXPECT_EQ(EditText(thdc, 1194), "(-40.00, 125.00)");
  EXPECT_EQ(EditText(thdc, 1195), "(0.00, 100.00)");
  Show(idc, Decoded(kIdc, 0x55, CollectorPayload(0, 0, 0, {65535, 0})));
  EXPECT_EQ(EditText(idc, 1196), "(0, 65535)");
  Show(dais, Decoded(kDais, 0x55, CollectorPayload(0, 2, 0, {9000, -9000, 4500, -4500})));
  EXPECT_EQ(EditText(dais, 1188), "(-90.00, 90.00)");
  EXPECT_EQ(EditText(dais, 1189), "(-45.00, 45.00)");

  Show(thdc, Decoded(kThdc, 0x50, CollectorPayload(0, 1, 0, {254, 613})));
  EXPECT_EQ(EditText(thdc, 1079), "25.4");
  EXPECT_EQ(EditText(thdc, 1080), "61.3");
  // The illuminance page reads the real 123.9 as an integer.
  Show(idc, Decoded(kIdc, 0x50, CollectorPayload(0, 1, 0, {1239})));
  EXPECT_EQ(EditText(idc, 1095), "123");
  Show(dais, Decoded(kDais, 0x56, CollectorPayload(0, 1, 0, {15, -20})));
  EXPECT_EQ(EditText(dais, IDC_DAIS_ZERO_X), "1.5");
  EXPECT_EQ(EditText(dais, IDC_DAIS_ZERO_Y), "-2");
  // "zero" is the dual-axis page's own.
  Show(thdc, Decoded(kThdc, 0x50, CollectorPayload(0, 1, 0, {0, 0})));
  EXPECT_EQ(EditText(thdc, 1079), "0");
}

TEST_F(CollectorTest, SamplingStartAndStopAreLogged) {
  Show(thdc, Decoded(kThdc, 0x52, CollectorPayload(0, 0, 1, {2000, 7})));
  EXPECT_EQ(thdc.IconStateOf(IDC_COLLECTOR_STATE), IconState::kOff);
  EXPECT_TRUE(Log().contains(QStringLiteral("THDC开始连续数据采集失败")));
  EXPECT_EQ(EditText(thdc, IDC_COLLECTOR_PERIOD), "2000");
  EXPECT_EQ(EditText(thdc, IDC_COLLECTOR_COUNT), "7");
  Show(dais, Decoded(kDais, 0x52, CollectorPayload(0, 0, 0, {1000, 3})));
  EXPECT_EQ(dais.IconStateOf(IDC_COLLECTOR_STATE), IconState::kOn);
  EXPECT_TRUE(Log().contains(QStringLiteral("DAIS开始连续数据采集成功")));

  Show(tdc, Decoded(kTdc, 0x53, CollectorPayload(0, 0, 0, {})));
  EXPECT_TRUE(Log().contains(QStringLiteral("TDC停止连续数据采集")));
  Show(idc, CollectorText("IDC", "status",
                          "\"info\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\","
                          "\"value\":\"MultiDataStop\"}"));
  EXPECT_TRUE(Log().contains(QStringLiteral("IDC停止连续数据采集")));
  EXPECT_EQ(idc.IconStateOf(IDC_COLLECTOR_STATE), IconState::kPending);
}

TEST_F(CollectorTest, SampleBlocksAddRowsNumberedOnFromTheList) {
  std::vector<std::int32_t> readings;
  for (int i = 0; i < 5; ++i) readings.insert(readings.end(), {250 + i, 600 + i});
  Show(thdc, Decoded(kThdc, 0x5A, CollectorPayload(10, 1, 0, readings)));
  Show(thdc, Decoded(kThdc, 0x5A, CollectorPayload(10, 1, 0, readings)));
  QTableWidget* list = thdc.ListView(IDC_COLLECTOR_SAMPLES);
  ASSERT_EQ(list->rowCount(), 10);
  EXPECT_EQ(Row(thdc, IDC_COLLECTOR_SAMPLES, 0),
            (std::vector<QString>{"1", "08:09:10.011", "25.0", "60.0"}));
  EXPECT_EQ(Row(thdc, IDC_COLLECTOR_SAMPLES, 9),
            (std::vector<QString>{"10", "08:09:10.011", "25.4", "60.4"}));

  // 20 samples a channel: the first 16.
  readings.clear();
  for (int i = 0; i < 20; ++i) readings.insert(readings.end(), {i, i});
  Show(dais, Decoded(kDais, 0x5A, CollectorPayload(40, 0, 0, readings)));
  EXPECT_EQ(dais.ListView(IDC_COLLECTOR_SAMPLES)->rowCount(), 16);

  Show(idc, Decoded(kIdc, 0x5A, CollectorPayload(2, 1, 0, {1239, 50})));
  EXPECT_EQ(Row(idc, IDC_COLLECTOR_SAMPLES, 0), (std::vector<QString>{"1", "08:09:10.011", "123"}));
  EXPECT_EQ(Row(idc, IDC_COLLECTOR_SAMPLES, 1), (std::vector<QString>{"2", "08:09:10.011", "5"}));
  Show(tdc, Decoded(kTdc, 0x5A, CollectorPayload(1, 2, 0, {-1234})));
  EXPECT_EQ(Row(tdc, IDC_COLLECTOR_SAMPLES, 0), (std::vector<QString>{"1", "08:09:10.011", "-12.34"}));
}

TEST_F(CollectorTest, ABlockOfSamplesEndsWithItsLastRowInView) {
  // The page on screen at the size it takes, its sample list as small as
  // the page lets it be.
  dais.resize(dais.minimumSizeHint());
  dais.show();
  QApplication::processEvents();
  QTableWidget* list = dais.ListView(IDC_COLLECTOR_SAMPLES);
  const int shown = list->viewport()->height() / list->verticalHeader()->defaultSectionSize();
  // Each block holds more samples than the list shows.
  std::vector<std::int32_t> readings;
  for (int i = 0; i <= shown; ++i) readings.insert(readings.end(), {i, -i});
  const auto count = static_cast<std::uint8_t>(readings.size());
  for (int block = 0; block < 2; ++block) {
    Show(dais, Decoded(kDais, 0x5A, CollectorPayload(count, 0, 0, readings)));
    QApplication::processEvents();
    EXPECT_EQ(list->rowAt(list->viewport()->height() - 1), list->rowCount() - 1) << "block " << block;
  }
}

TEST_F(CollectorTest, SampleRowsFollowTheSecondArray) {
  struct Case {
    const char* temperatures;
    const char* humidities;
    int rows;
    std::vector<QString> last;
  };
  const std::vector<Case> cases = {
      {"[1.0,2.0,3.0]", "[5.0,6.0,7.0,8.0,9.0]", 5, {"5", "08:09:10.011", "0.0", "9.0"}},
      {"[1.0,2.0,3.0,4.0,5.0]", "[5.0,6.0,7.0]", 3, {"3", "08:09:10.011", "3.0", "7.0"}},
  };
  for (const Case& c : cases) {
    thdc.ClearRows(IDC_COLLECTOR_SAMPLES);
    Show(thdc, CollectorText("THDC", "multidata",
                             Element("temperature", 1, c.temperatures) + "," + Element("humidity", 1, c.humidities)));
    ASSERT_EQ(thdc.ListView(IDC_COLLECTOR_SAMPLES)->rowCount(), c.rows);
    EXPECT_EQ(Row(thdc, IDC_COLLECTOR_SAMPLES, c.rows - 1), c.last);
  }
}

TEST_F(CollectorTest, AlarmsAddARowWithTheirType) {
  Show(thdc, Decoded(kThdc, 0x5F, CollectorPayload(0, 1, 0, {512, 955})));
  EXPECT_EQ(Row(thdc, IDC_COLLECTOR_ALARMS, 0),
            (std::vector<QString>{"1", "08:09:10.011", "51.2", "95.5", "OutOfLimit"}));
  Show(idc, Decoded(kIdc, 0x5F, CollectorPayload(0, 0, 0, {70000})));
  EXPECT_EQ(Row(idc, IDC_COLLECTOR_ALARMS, 0), (std::vector<QString>{"1", "08:09:10.011", "70000", "OutOfLimit"}));
  EXPECT_EQ(thdc.ListView(IDC_COLLECTOR_SAMPLES)->rowCount(), 0);
}

}  // namespace
