// The device page framework: commands, reports, the reply queue and its
// drain, faults, measurement rows and the sampling checks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QPlainTextEdit>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>

#include "demo/shell/demo_dlg.h"
#include "demo/shell/measurement_rows.h"
#include "tests/demo/demo_fakes.h"
#include "tests/demo/test_page.h"

namespace {

using demotest::FakeApi;
using demotest::RecordedCall;

std::string Reply(const std::string& msg, unsigned nvsid = 7, unsigned netid = 1, unsigned nodid = 5,
                  const std::string& info = "") {
  const std::string data =
      info.empty() ? "" : "\"info\":{\"precision\":0,\"subtype\":\"\",\"type\":\"string\",\"unit\":\"\",\"value\":\"" +
                              info + "\"}";
  return "{\"data\":{" + data + "},\"devtype\":\"LAMP\",\"msg\":\"" + msg + "\",\"netid\":" + std::to_string(netid) +
         ",\"nodid\":" + std::to_string(nodid) + ",\"nvsid\":" + std::to_string(nvsid) + ",\"version\":2}\n";
}

IotHandle* const kSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(0x5000));

class DevicePageTest : public ::testing::Test {
 protected:
  DevicePageTest() {
    dialog.SetLocalClock([] { return TimeOfDay{9, 8, 7, 6}; });
    theApp.m_pMainWnd = &dialog;
    theApp.m_hSession = kSession;
    theApp.NodeTarget = NodeTargetInfo{7, 1, 5};
    page.EnsureCreated();
  }

  std::string Log() const {
    return dialog.findChild<QPlainTextEdit*>(QStringLiteral("1072"))->toPlainText().toStdString();
  }
  std::vector<std::string> ShownTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : page.shown) texts.push_back(shown.text);
    return texts;
  }

  demotest::AppStateGuard state;
  demotest::VideoRecorder video;
  demotest::UiRecorder ui;
  FakeApi api;
  CDemoDlg dialog;
  demotest::TestPage page;
};

TEST_F(DevicePageTest, QueueKeepsTheNewest101) {
  page.m_replyRules.matchNames = false;
  for (int i = 0; i < 102; ++i) EXPECT_EQ(page.QueueReply("t" + std::to_string(i)), 1);
  EXPECT_EQ(page.QueuedReplyCount(), 101u);
  page.OnDeviceReply(0, 0);
  const std::vector<std::string> shown = ShownTexts();
  ASSERT_EQ(shown.size(), 101u);
  EXPECT_EQ(shown.front(), "t1");
  EXPECT_EQ(shown.back(), "t101");
  EXPECT_EQ(page.QueuedReplyCount(), 0u);
}

TEST_F(DevicePageTest, DrainShowsKnownNamesIgnoringCase) {
  page.m_replyRules.names = {"status", "fault"};
  page.QueueReply(Reply("STATUS"));
  page.QueueReply(Reply("unknown"));
  page.QueueReply("{garbage");
  page.QueueReply(Reply("Fault"));
  page.QueueReply("{\"msg\":5}\n");
  EXPECT_EQ(page.OnDeviceReply(0, 0), 0);
  ASSERT_EQ(page.shown.size(), 2u);
  EXPECT_EQ(page.shown[0].nameIndex, 0);
  EXPECT_EQ(page.shown[1].nameIndex, 1);
  EXPECT_EQ(page.QueuedReplyCount(), 0u);
}

TEST_F(DevicePageTest, NodeFilterSkipsRepliesOfOtherNodes) {
  page.m_replyRules.names = {"status"};
  page.m_replyRules.nodeFilter = true;
  const std::string first = Reply("status", 7, 1, 5);
  const std::string third = Reply("status", 7, 1, 5) + " ";
  page.QueueReply(first);
  page.QueueReply(Reply("status", 7, 1, 6));
  page.QueueReply(third);
  page.QueueReply(Reply("status", 8, 1, 5));
  page.QueueReply(Reply("status", 7, 2, 5));
  page.OnDeviceReply(0, 0);
  EXPECT_EQ(ShownTexts(), (std::vector<std::string>{first, third}));
  EXPECT_EQ(page.QueuedReplyCount(), 0u);
}

TEST_F(DevicePageTest, PendingIconForEveryDrainedText) {
  page.m_replyRules.names = {"status"};
  page.m_replyRules.pendingIconForEveryText = true;
  page.QueueReply(Reply("other"));
  page.OnDeviceReply(0, 0);
  EXPECT_TRUE(page.shown.empty());
  EXPECT_FALSE(page.icon.pixmap().isNull());
}

TEST_F(DevicePageTest, RepliesWaitUntilThePageExists) {
  demotest::TestPage fresh;
  fresh.m_replyRules.matchNames = false;
  PageHandOver& handOver = dialog.HandOver();
  for (int i = 0; i < 5; ++i) {
    fresh.QueueReply("r" + std::to_string(i));
    EXPECT_FALSE(handOver.Send(fresh));
  }
  EXPECT_EQ(fresh.QueuedReplyCount(), 5u);
  fresh.EnsureCreated();
  fresh.QueueReply("r5");
  EXPECT_TRUE(handOver.Send(fresh));
  ASSERT_EQ(fresh.shown.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(fresh.shown[static_cast<std::size_t>(i)].text, "r" + std::to_string(i));
}

TEST_F(DevicePageTest, CommandWithoutSessionSendsNothing) {
  theApp.m_hSession = nullptr;
  page.report = CommandReport{CommandReport::kResultLog, "THDC", "开始采集", nullptr};
  const std::string logBefore = Log();
  page.OnStart();
  page.OnQuery();
  EXPECT_EQ(ui.messages, (QStringList{QStringLiteral("请先初始化模块!"), QStringLiteral("请先初始化模块!")}));
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Log(), logBefore);
}

TEST_F(DevicePageTest, CommandGoesToTheTargetNode) {
  theApp.NodeTarget = NodeTargetInfo{70000, 65537, 3};
  page.OnQuery();
  const long long handle = reinterpret_cast<intptr_t>(kSession);
  // Net id and node address travel as their low 16 bits.
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_LAMP_QueryStatus", {handle, 70000, 1, 3}}}));
}

TEST_F(DevicePageTest, ContinuousSamplingChecks) {
  struct Case {
    std::string period;
    std::string count;
    bool sent;
    QString message;
  };
  const QString periodMessage = QStringLiteral("连续采集周期必须大于1000ms.");
  const QString countMessage = QStringLiteral("至少为1.");
  const std::vector<Case> cases = {
      {"1000", "1", true, {}},
      {"5000", "20", true, {}},
      {"999", "1", false, periodMessage},
      {"-1", "1", false, periodMessage},
      {"999", "0", false, periodMessage},
      {"1000", "0", false, countMessage},
      {"1000", "-5", false, countMessage},
      {"abc", "1", false, QStringLiteral("请输入一个整数。")},
      {"1000", "99999999999", false, QStringLiteral("请输入一个整数。")},
      {" 1000 ", "2", true, {}},
  };
  EXPECT_EQ(page.periodEdit.text(), QStringLiteral("1000"));
  EXPECT_EQ(page.countEdit.text(), QStringLiteral("1"));
  for (const Case& c : cases) {
    demotest::UiRecorder messages;
    FakeApi calls;
    page.periodEdit.setText(QString::fromStdString(c.period));
    page.countEdit.setText(QString::fromStdString(c.count));
    page.OnStart();
    const std::vector<RecordedCall> sent = FakeApi::Calls();
    EXPECT_EQ(sent.size(), c.sent ? 1u : 0u) << c.period << "/" << c.count;
    if (c.sent && sent.size() == 1) {
      EXPECT_EQ(sent[0].args[4], std::stoll(c.period));
      EXPECT_EQ(sent[0].args[5], std::stoll(c.count));
    }
    EXPECT_EQ(messages.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message})
        << c.period << "/" << c.count;
  }
}

TEST_F(DevicePageTest, ReportModes) {
  struct Case {
    CommandReport::Mode mode;
    int result;
    std::string logLine;  // empty: nothing logged
    bool icon;
  };
  const std::vector<Case> cases = {
      {CommandReport::kPendingIcon, -1, "", true},
      {CommandReport::kPendingIcon, 0, "", true},
      {CommandReport::kPendingIcon, 1, "", true},
      {CommandReport::kErrorLine, -1, " 9:08:07.006: CO2节点: 获取值错误\n", false},
      {CommandReport::kErrorLine, 0, "", false},
      {CommandReport::kErrorLine, 1, "", false},
      {CommandReport::kResultLog, -1, " 9:08:07.006: CABMGZ: 打开箱子错误!\n", false},
      {CommandReport::kResultLog, 0, " 9:08:07.006: CABMGZ: 打开箱子成功!\n", false},
      {CommandReport::kResultLog, 1, " 9:08:07.006: CABMGZ: 打开箱子成功!\n", false},
      {CommandReport::kSilent, -1, "", false},
      {CommandReport::kSilent, 1, "", false},
  };
  for (const Case& c : cases) {
    page.icon.clear();
    const std::string before = Log();
    FakeApi::SetResult(c.result);
    page.report = CommandReport{c.mode, c.mode == CommandReport::kErrorLine ? "CO2节点: 获取值错误" : "CABMGZ",
                                "打开箱子", &page.icon};
    page.OnQuery();
    EXPECT_EQ(Log().substr(before.size()), c.logLine) << c.mode << " " << c.result;
    EXPECT_EQ(!page.icon.pixmap().isNull(), c.icon) << c.mode << " " << c.result;
  }
}

TEST_F(DevicePageTest, FaultInfo) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"sensor", " 9:08:07.006: LAMP传感器故障!\n"},
      {"power", " 9:08:07.006: LAMP电源故障\n"},
      {"other", ""},
      {"", ""},
  };
  for (const auto& [info, line] : cases) {
    const std::string before = Log();
    page.LogFault(Reply("fault", 7, 1, 5, info), "LAMP");
    EXPECT_EQ(Log().substr(before.size()), line) << info;
  }
  const std::string before = Log();
  page.LogFault(Reply("fault", 7, 1, 5, "sensor"), "");
  EXPECT_EQ(Log().substr(before.size()), " 9:08:07.006: 传感器故障!\n");
}

TEST_F(DevicePageTest, PagesLogNothingWithoutMainWindow) {
  theApp.m_pMainWnd = nullptr;
  const std::string before = Log();
  page.LogFault(Reply("fault", 7, 1, 5, "sensor"), "LAMP");
  FakeApi::SetResult(-1);
  page.report = CommandReport{CommandReport::kResultLog, "A", "B", nullptr};
  page.OnQuery();
  EXPECT_EQ(Log(), before);
}

TEST(MeasurementRows, Texts) {
  demotest::DebugCapture debug;
  QTableWidget list(0, 5);
  EXPECT_EQ(AddMeasurementRow(list, {1, 2, 3, 4}, {"21", "23.46"}, std::string("note")), 1);
  EXPECT_EQ(AddMeasurementRow(list, {23, 59, 59, 999}, {"1", "2", "3"}, std::string("no room")), 1);
  EXPECT_EQ(AddMeasurementRow(list, {0, 0, 0, 0}, {}), 1);
  auto cell = [&](int row, int column) {
    const QTableWidgetItem* item = list.item(row, column);
    return item ? item->text().toStdString() : std::string("<none>");
  };
  EXPECT_EQ(cell(0, 0), "1");
  EXPECT_EQ(cell(0, 1), "01:02:03.004");
  EXPECT_EQ(cell(0, 2), "21");
  EXPECT_EQ(cell(0, 3), "23.46");
  EXPECT_EQ(cell(0, 4), "note");
  EXPECT_EQ(cell(1, 0), "2");
  EXPECT_EQ(cell(1, 1), "23:59:59.999");
  EXPECT_EQ(cell(1, 4), "3");
  EXPECT_EQ(cell(2, 0), "3");
  EXPECT_EQ(cell(2, 2), "<none>");
  const std::vector<std::string> lines = debug.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("====Pos: 0\tMinPos: 0\tMaxPos: 0\tCountPerPage: ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[0].back(), '\n');

  EXPECT_EQ(FormatPrecision(23.456, 2), "23.46");
  EXPECT_EQ(FormatPrecision(1.5, 0), "2");
  EXPECT_EQ(FormatPrecision(1.5, -1), "1.500000");
  EXPECT_EQ(FormatPrecision(1.0, 100000), "1.00000000000000000000");
}

TEST(MeasurementRows, ViewFollowsOnlyWhileAtTheEnd) {
  demotest::DebugCapture debug;
  QTableWidget list(0, 3);
  list.resize(300, 10 + 3 * list.verticalHeader()->defaultSectionSize() + list.horizontalHeader()->sizeHint().height());
  list.show();
  QApplication::processEvents();
  for (int i = 0; i < 20; ++i) AddMeasurementRow(list, {}, {"v"});
  QApplication::processEvents();
  const int last = list.rowCount() - 1;
  const int bottom = list.viewport()->height() - 1;
  EXPECT_EQ(list.rowAt(bottom), last) << "the view followed the rows";

  list.scrollToTop();
  QApplication::processEvents();
  AddMeasurementRow(list, {}, {"v"});
  QApplication::processEvents();
  EXPECT_EQ(list.rowAt(0), 0) << "a user who scrolled back stays there";

  list.scrollToBottom();
  QApplication::processEvents();
  AddMeasurementRow(list, {}, {"v"});
  QApplication::processEvents();
  EXPECT_EQ(list.rowAt(list.viewport()->height() - 1), list.rowCount() - 1);
}

TEST(DataExchange, ParsesNumbersStrictly) {
  struct Case {
    std::string text;
    bool isInt;
    int intValue;
    bool isUInt;
    bool isReal;
  };
  const std::vector<Case> cases = {
      {"12", true, 12, true, true},      {" -3 ", true, -3, false, true}, {"", false, 0, false, false},
      {"1.5", false, 0, false, true},    {"1e3", false, 0, false, true},  {"12abc", false, 0, false, false},
      {"2147483648", false, 0, true, true}, {"-2147483648", true, -2147483647 - 1, false, true},
      {"4294967296", false, 0, false, true}, {"nan", false, 0, false, false}, {"inf", false, 0, false, false},
  };
  for (const Case& c : cases) {
    int i = 0;
    std::uint32_t u = 0;
    double d = 0;
    EXPECT_EQ(DataExchange::ParseInt(c.text, i), c.isInt) << c.text;
    if (c.isInt) {
      EXPECT_EQ(i, c.intValue) << c.text;
    }
    EXPECT_EQ(DataExchange::ParseUInt(c.text, u), c.isUInt) << c.text;
    EXPECT_EQ(DataExchange::ParseReal(c.text, d), c.isReal) << c.text;
  }
}

TEST(DataExchange, LoadShowsMembersAndSaveStopsAtABadField) {
  demotest::UiRecorder ui;
  QLineEdit intEdit, floatEdit, textEdit;
  QCheckBox check;
  int number = 42;
  float real = 23.4567891f;
  std::string text = "门禁";
  bool flag = true;
  DataExchange exchange;
  exchange.Bind(&intEdit, number);
  exchange.Bind(&floatEdit, real);
  exchange.Bind(&textEdit, text);
  exchange.Bind(&check, flag);
  exchange.Load();
  EXPECT_EQ(intEdit.text(), QStringLiteral("42"));
  EXPECT_EQ(floatEdit.text(), QStringLiteral("23.4568"));
  EXPECT_EQ(textEdit.text(), QStringLiteral("门禁"));
  EXPECT_TRUE(check.isChecked());

  intEdit.setText(QStringLiteral("7"));
  floatEdit.setText(QStringLiteral("x"));
  textEdit.setText(QStringLiteral("new"));
  EXPECT_FALSE(exchange.Save(nullptr));
  EXPECT_EQ(number, 7);
  EXPECT_EQ(text, "门禁");
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("请输入一个数字。")});

  floatEdit.setText(QStringLiteral("-0.5"));
  check.setChecked(false);
  EXPECT_TRUE(exchange.Save(nullptr));
  EXPECT_EQ(real, -0.5f);
  EXPECT_EQ(text, "new");
  EXPECT_FALSE(flag);
}

}  // namespace
