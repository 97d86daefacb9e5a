// The gas and pH analyser pages: their buttons and exports, the sampling
// checks, and the replies of the library's decoders for the simulated
// analysers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "demo/pages/analyser_pages.h"
#include "library/api/commands_sampling.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::FakeApi;
using demotest::NodeReply;
using demotest::RecordedCall;
using testsupport::SimulatedDevice;

constexpr std::uint8_t kPhCode = 46, kCo2Code = 47, kO2Code = 48;

class AnalyserPagesTest : public demotest::PageFixture {
 protected:
  AnalyserPagesTest() {
    for (KitPage* page : std::initializer_list<KitPage*>{&co2, &o2, &ph}) {
      page->SetUtcClock([] { return TimeOfDay{5, 4, 3, 21}; });
      page->EnsureCreated();
    }
  }

  QLineEdit& EditOf(KitPage& page, int id) { return Control<QLineEdit>(page, id); }
  void Press(KitPage& page, int id) { Control<QPushButton>(page, id).click(); }
  QTableWidget& Rows(KitPage& page) { return Control<QTableWidget>(page, IDC_ANALYSER_LIST); }
  QStringList Column(KitPage& page, int column) {
    QStringList texts;
    for (int row = 0; row < Rows(page).rowCount(); ++row) texts << Rows(page).item(row, column)->text();
    return texts;
  }

  CCO2Page co2;
  CO2Page o2;
  CPHPage ph;
};

TEST_F(AnalyserPagesTest, ButtonsCallTheirExportsAndLogFailuresOnlyForMinusOne) {
  struct Case {
    KitPage* page;
    int button;
    const char* caption;
    RecordedCall call;
    const char* failureLine;
  };
  const std::vector<Case> cases = {
      {&co2, 1272, "查询(&Q)", {"CM_IOT_CO2_Query", {kHandle, kNvsid, 1, 2}}, "CO2节点: 获取值错误"},
      {&co2, 1076, "开始", {"CM_IOT_CO2_Start", {kHandle, kNvsid, 1, 2, 1000, 1}}, "CO2采集节点: 开始采集错误!"},
      {&co2, 1077, "停止", {"CM_IOT_CO2_Stop", {kHandle, kNvsid, 1, 2}}, "CO2采集节点: 停止采集错误!"},
      {&o2, 1272, "查询(&Q)", {"CM_IOT_O2_Query", {kHandle, kNvsid, 1, 2}}, "O2节点: 获取值错误"},
      {&o2, 1076, "开始", {"CM_IOT_O2_Start", {kHandle, kNvsid, 1, 2, 1000, 1}}, "O2采集节点: 开始采集错误!"},
      {&o2, 1077, "停止", {"CM_IOT_O2_Stop", {kHandle, kNvsid, 1, 2}}, "O2采集节点: 停止采集错误!"},
      {&ph, 1272, "查询(&Q)", {"CM_IOT_PH_Query", {kHandle, kNvsid, 1, 2}}, "PH节点: 获取值错误"},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.call.name) + " result " + std::to_string(result));
      FakeApi fresh;
      FakeApi::SetResult(result);
      const QStringList before = LogLines();
      c.page->SetIconState(IDC_ANALYSER_STATE, IconState::kOn);
      auto& button = Control<QPushButton>(*c.page, c.button);
      EXPECT_EQ(button.text(), QString::fromUtf8(c.caption));
      button.click();
      EXPECT_EQ(FakeApi::Calls(), std::vector<RecordedCall>{c.call});
      const QStringList added = LogLines().mid(before.size());
      EXPECT_EQ(added, result == -1 ? QStringList{Logged(c.failureLine)}
                                    : QStringList{});
      if (c.page != &ph) {
        EXPECT_EQ(c.page->IconStateOf(IDC_ANALYSER_STATE), IconState::kOn) << "no command sets the state icon";
      }
    }
  }
}

TEST_F(AnalyserPagesTest, GasPagesStartWithOneSampleASecond) {
  for (KitPage* page : {static_cast<KitPage*>(&co2), static_cast<KitPage*>(&o2)}) {
    EXPECT_EQ(EditOf(*page, IDC_ANALYSER_PERIOD).text(), QStringLiteral("1000"));
    EXPECT_EQ(EditOf(*page, IDC_ANALYSER_COUNT).text(), QStringLiteral("1"));
    EXPECT_TRUE(EditOf(*page, IDC_ANALYSER_VALUE).isReadOnly());
    QTableWidget& list = Rows(*page);
    ASSERT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.horizontalHeaderItem(2)->text(), QStringLiteral("浓度"));
    EXPECT_EQ(list.columnWidth(0), 70);
    EXPECT_EQ(list.columnWidth(1), 100);
    EXPECT_EQ(list.columnWidth(2), 80);
  }
  EXPECT_EQ(ph.findChild<QTableWidget*>(), nullptr) << "the pH page has no sampling";
  EXPECT_EQ(ph.findChild<QPushButton*>(QStringLiteral("1076")), nullptr);
}

TEST_F(AnalyserPagesTest, SamplingChecksRefuseAndSendNothing) {
  struct Case {
    const char* period;
    const char* count;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"999", "1", "连续采集周期必须大于1000ms."},
      {"-5", "1", "连续采集周期必须大于1000ms."},
      {"1000", "0", "至少为1."},
      {"1000", "-1", "至少为1."},
      {"abc", "1", "请输入一个整数。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.period) + "/" + c.count);
    ui.messages.clear();
    EditOf(co2, IDC_ANALYSER_PERIOD).setText(QString::fromUtf8(c.period));
    EditOf(co2, IDC_ANALYSER_COUNT).setText(QString::fromUtf8(c.count));
    Press(co2, IDC_ANALYSER_START);
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8(c.message)});
    EXPECT_TRUE(FakeApi::Calls().empty());
  }
  EditOf(co2, IDC_ANALYSER_PERIOD).setText(QStringLiteral("2500"));
  EditOf(co2, IDC_ANALYSER_COUNT).setText(QStringLiteral("7"));
  Press(co2, IDC_ANALYSER_START);
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_CO2_Start", {kHandle, kNvsid, 1, 2, 2500, 7}}}));
}

TEST_F(AnalyserPagesTest, QueryClearsTheValueEvenWithoutASession) {
  for (KitPage* page : std::initializer_list<KitPage*>{&co2, &o2, &ph}) {
    ui.messages.clear();
    EditOf(*page, IDC_ANALYSER_VALUE).setText(QStringLiteral("7.5"));
    if (page == &co2) EditOf(*page, IDC_ANALYSER_VALUE).setText(QStringLiteral("415"));
    theApp.m_hSession = nullptr;
    Press(*page, IDC_ANALYSER_QUERY);
    EXPECT_EQ(EditOf(*page, IDC_ANALYSER_VALUE).text(), QStringLiteral("0"));
    EXPECT_EQ(ui.messages, QStringList{QStringLiteral("请先初始化模块!")});
  }
  EXPECT_TRUE(FakeApi::Calls().empty());
}

TEST_F(AnalyserPagesTest, SimulatedAnalysersRepliesShowValuesRowsIconsAndLines) {
  SimulatedDevice co2Analyser(kCo2Code), o2Analyser(kO2Code), phAnalyser(kPhCode);

  // A query is acknowledged, then answered with one value.
  const std::vector<std::string> query = co2Analyser.Send(Co2Query());
  ASSERT_EQ(query.size(), 2u);
  for (const std::string& text : query) Show(co2, text);
  EXPECT_EQ(co2.IconStateOf(IDC_ANALYSER_STATE), IconState::kOn);
  EXPECT_EQ(EditOf(co2, IDC_ANALYSER_VALUE).text().toInt() > 0, true);
  EXPECT_EQ(LogLines().back(), Logged("CO2数据采集成功"));

  for (const std::string& text : co2Analyser.Send(Co2Start(1000, 3))) Show(co2, text);
  EXPECT_EQ(co2.IconStateOf(IDC_ANALYSER_STATE), IconState::kOff) << "the start shows the off icon";
  EXPECT_TRUE(LogLines().contains(Logged("CO2开始连续数据采集")));
  EXPECT_EQ(Rows(co2).rowCount(), 3);
  EXPECT_EQ(Column(co2, 0), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Column(co2, 1), (QStringList(3, QStringLiteral("05:04:03.021"))));

  for (const std::string& text : o2Analyser.Send(O2Query())) Show(o2, text);
  EXPECT_EQ(o2.IconStateOf(IDC_ANALYSER_STATE), IconState::kOn);
  EXPECT_EQ(LogLines().back(), Logged("O2数据采集成功"));
  for (const std::string& text : o2Analyser.Send(O2Stop())) Show(o2, text);
  EXPECT_EQ(o2.IconStateOf(IDC_ANALYSER_STATE), IconState::kOff);
  EXPECT_EQ(LogLines().back(), Logged("O2停止连续数据采集"));

  const int linesBefore = static_cast<int>(LogLines().size());
  for (const std::string& text : phAnalyser.Send(PhQuery())) Show(ph, text);
  for (const std::string& text : phAnalyser.Send(PhStart(1000, 2))) Show(ph, text);
  EXPECT_NE(EditOf(ph, IDC_ANALYSER_VALUE).text(), QStringLiteral("0")) << "singledata shown";
  EXPECT_EQ(LogLines().size(), linesBefore) << "the pH page drops its analyser's acks and blocks";
}

std::string Multidata(const char* devtype, const std::string& values) {
  return "{\"data\":{\"value\":{\"precision\":1,\"subtype\":\"\",\"type\":\"number\",\"unit\":\"ppm\",\"value\":[" +
         values + "]}},\"devtype\":\"" + devtype +
         "\",\"msg\":\"multidata\",\"netid\":1,\"nodid\":2,\"nvsid\":1000001,\"version\":2}\n";
}

TEST_F(AnalyserPagesTest, MultidataAddsARowPerValueUpToSixteen) {
  Show(co2, Multidata("CO2", "400,401,402"));
  EXPECT_EQ(Column(co2, 2), (QStringList{"400", "401", "402"}));
  Show(o2, Multidata("O2", "20.5"));
  EXPECT_EQ(Column(o2, 2), QStringList{"20.50"}) << "two decimals; the precision is not used";

  std::string seventeen;
  for (int i = 1; i <= 17; ++i) seventeen += (i > 1 ? "," : "") + std::to_string(i);
  Show(co2, Multidata("CO2", seventeen));
  EXPECT_EQ(Rows(co2).rowCount(), 3 + 16);
  EXPECT_EQ(Rows(co2).item(18, 2)->text(), QStringLiteral("16"));
  EXPECT_EQ(Rows(co2).item(18, 0)->text(), QStringLiteral("19"));

  Show(ph, Multidata("PH", "7"));
  EXPECT_EQ(EditOf(ph, IDC_ANALYSER_VALUE).text(), QStringLiteral("0"));
}

TEST_F(AnalyserPagesTest, AckWordsIgnoreCaseAndOthersChangeNothing) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> elements;
    IconState icon;
    const char* line;
  };
  const std::vector<Case> cases = {
      {{{"ack", "Start"}}, IconState::kOff, "CO2开始连续数据采集"},
      {{{"ack", "STOP"}}, IconState::kOff, "CO2停止连续数据采集"},
      {{{"ack", "query"}}, IconState::kOn, "CO2数据采集成功"},
      {{{"ack", "calibrate"}}, IconState::kBusy, nullptr},
      {{}, IconState::kBusy, nullptr},
  };
  for (const Case& c : cases) {
    co2.SetIconState(IDC_ANALYSER_STATE, IconState::kBusy);
    const int before = static_cast<int>(LogLines().size());
    Show(co2, NodeReply("CO2", "ACK", c.elements));
    EXPECT_EQ(co2.IconStateOf(IDC_ANALYSER_STATE), c.icon);
    const QStringList added = LogLines().mid(before);
    EXPECT_EQ(added, c.line ? QStringList{Logged(c.line)} : QStringList{});
  }
  Show(co2, NodeReply("CO2", "alarm", {{"ack", "query"}}));
  EXPECT_EQ(co2.IconStateOf(IDC_ANALYSER_STATE), IconState::kBusy) << "other names are dropped";
}

}  // namespace
