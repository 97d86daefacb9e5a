// The page kit on a page of its own: values bound by id and their checks,
// the steps of a button, and the reply vocabulary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "demo/pages/page_kit.h"
#include "demo/shell/cm_parser.h"
#include "demo/shell/sentrell_api.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/reply_texts.h"

namespace {

using demotest::FakeApi;
using demotest::NodeReply;
using demotest::RecordedCall;

enum : int {
  kCount = 10,
  kMeter = 11,
  kName = 12,
  kLevel = 13,
  kSlot = 14,
  kModeA = 15,
  kModeB = 16,
  kValueA = 17,
  kValueB = 18,
  kValueC = 19,
  kState = 20,
  kRows = 21,
  kLines = 22,
  kReal = 23,
  kGroupBox = 30,
  kSend = 40,
  kSendTwo = 41,
  kSendThree = 42,
  kGuarded = 43,
  kNoExport = 44,
  kNoHandler = 45,
  kOff = 46,
  kReadFirst = 47,
};

std::string CCMParserWord(const std::string& text) {
  return CCMParser::GetDataElementValueString(text, "word").value_or(std::string());
}

// Steps record themselves here, in the order they run.
std::vector<std::string>* g_steps = nullptr;

void Step(const char* name) {
  if (g_steps != nullptr) g_steps->emplace_back(name);
}

ButtonRow LampButton(int id, int argument) {
  return Button(id, "开")
      .Calls([argument](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, argument); })
      .ErrorLine("KIT: 错误");
}

PageDescription KitDescription() {
  PageDescription page;
  page.controls = {
      Group(kGroupBox, "组").At(0, 0, 4),
      Edit(kCount, "次数:", ValueKind::kInt).Initial(5).Range(1, 10).In(kGroupBox).At(0, 0),
      Edit(kMeter, "表号:", ValueKind::kUInt64).In(kGroupBox).At(1, 0),
      Edit(kName, "名称:", ValueKind::kText).MaxLength(6).In(kGroupBox).At(2, 0),
      Edit(kReal, "值:", ValueKind::kFloat).Range(-1.5, 1.5).At(1, 0),
      Combo(kLevel, "级别:", {{"低", 10}, {"高", 20}}).At(2, 0),
      Combo(kSlot, "时段:", NumberItems(0, 23), 5).At(3, 0),
      Radio({kModeA, kModeB}, {"模式一", "模式二"}).At(4, 0),
      Edit(kValueA, "A:", ValueKind::kInt).Initial(7).At(5, 0),
      Edit(kValueB, "B:", ValueKind::kInt).Initial(8).At(6, 0),
      Edit(kValueC, "C:", ValueKind::kInt).Initial(9).At(7, 0),
      Icon(kState, "状态").At(8, 0),
      List(kRows, {{"序号"}, {"时间"}, {"值", Align::kRight}}).At(9, 0, 3),
      ListBox(kLines).At(10, 0, 3),
  };
  page.buttons = {
      LampButton(kSend, 1).At(0, 3),
      LampButton(kSendTwo, 2).At(1, 3),
      Button(kSendThree, "读")
          .Before([](KitPage&) { Step("before"); })
          .Reads()
          .Guard([](KitPage&) {
            Step("guard");
            return true;
          })
          .Calls([](KitPage& p) {
            Step("call");
            return p.Send(Api().CM_IOT_LAMP_Ctrl, p.Int(kCount));
          })
          .PendingIcon(kState)
          .After([](KitPage& p, int result) {
            Step(result == 1 ? "after 1" : "after");
            p.SetCaptionOf(kSendThree, "再读");
          })
          .At(2, 3),
      Button(kGuarded, "守").Reads().Guard(RequireNonZero(kMeter, "先获取表号!")).Calls([](KitPage& p) {
        return p.Send(Api().CM_IOT_LAMP_Ctrl, static_cast<int>(p.UInt64(kMeter) % 100));
      }).At(3, 3),
      Button(kNoExport, "无").At(4, 3),
      Button(kNoHandler, "...").NoHandler().At(5, 3),
      LampButton(kOff, 0).Disabled().At(6, 3),
      Button(kReadFirst, "先读")
          .Reads(ReadPage::kBeforeCheck)
          .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_LAMP_Ctrl, p.Int(kValueA)); })
          .At(7, 3),
  };
  page.pendingIconForEveryText = kState;
  page.replies = {
      On({"first", "second"}, {SetValue(kValueA, "a"), Show()}),
      On("quiet", {SetValue(kValueB, "b")}),
      On("array", {ReadArray({kValueA, kValueB, kValueC}, "values", Rest::kZero)}),
      On("partial", {ReadArray({kValueA, kValueB, kValueC}, "values", Rest::kLeave), Show()}),
      On("exact", {Switch("word", Words::kExact, {{"on", {SetIcon(kState, IconState::kOn)}}},
                          {SetIcon(kState, IconState::kBusy)})}),
      On("loose", {Switch("word", Words::kIgnoringCase, {{"on", {SetIcon(kState, IconState::kOn), LogLine("开了")}}})}),
      On("rows", {AddRows(kRows, "values", RowFormat::kInteger)}),
      On("line", {AppendLine(kLines, [](const std::string& text) {
           return "行: " + CCMParserWord(text);
         })}),
      OnAnyName({LogText([](const std::string& text) { return "其他: " + CCMParserWord(text); })}),
  };
  return page;
}

// A reply whose elements are integers.
std::string NumberReply(const std::string& msg, const std::string& name, int value) {
  return "{\"data\":{\"" + name + "\":{\"precision\":0,\"subtype\":\"\",\"type\":\"int\",\"unit\":\"\",\"value\":" +
         std::to_string(value) + "}},\"devtype\":\"KIT\",\"msg\":\"" + msg +
         "\",\"netid\":1,\"nodid\":2,\"nvsid\":1000001,\"version\":2}\n";
}

class KitPageTest : public demotest::PageFixture {
 protected:
  KitPageTest() : page(QStringLiteral("测试::页"), 999, KitDescription()) {
    g_steps = &steps;
    page.EnsureCreated();
  }
  ~KitPageTest() override { g_steps = nullptr; }

  QLineEdit& EditOf(int id) { return Control<QLineEdit>(page, id); }
  void Press(int id) { Control<QPushButton>(page, id).click(); }

  std::vector<std::string> steps;
  KitPage page;
};

TEST_F(KitPageTest, InitialValuesAreShownAtTheFirstDisplay) {
  EXPECT_EQ(EditOf(kCount).text(), QStringLiteral("5"));
  EXPECT_EQ(EditOf(kMeter).text(), QStringLiteral("0"));
  EXPECT_EQ(Control<QComboBox>(page, kSlot).currentIndex(), 5);
  EXPECT_EQ(Control<QComboBox>(page, kSlot).count(), 24);
  EXPECT_EQ(Control<QTableWidget>(page, kRows).columnCount(), 3);
  EXPECT_EQ(page.IconStateOf(kState), IconState::kTemplate);
  EXPECT_TRUE(Control<QLabel>(page, kState).pixmap().isNull() == theApp.m_hIconPending.isNull());
}

TEST_F(KitPageTest, ButtonsThatDifferInOneArgumentSendTheirOwn) {
  Press(kSend);
  Press(kSendTwo);
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_LAMP_Ctrl", {kHandle, kNvsid, 1, 2, 1}},
                                                         {"CM_IOT_LAMP_Ctrl", {kHandle, kNvsid, 1, 2, 2}}}));
}

TEST_F(KitPageTest, RefusedValuesStopTheButtonAndTheLeavingOfThePage) {
  struct Case {
    int id;
    const char* typed;
    const char* message;
  };
  const std::vector<Case> cases = {
      {kCount, "11", "请输入一个介于 1 和 10 之间的整数。"},
      {kCount, "0", "请输入一个介于 1 和 10 之间的整数。"},
      {kCount, "x", "请输入一个整数。"},
      {kMeter, "-1", "请输入一个正整数。"},
      {kMeter, "18446744073709551616", "请输入一个正整数。"},
      {kName, "一二三四五六七", "请输入不超过 6 个字符。"},
      {kReal, "1.6", "请输入一个介于 -1.5 和 1.5 之间的数字。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const QString before = EditOf(c.id).text();
    EditOf(c.id).setText(QString::fromUtf8(c.typed));
    ui.messages.clear();
    Press(kSendThree);
    EXPECT_TRUE(FakeApi::Calls().empty()) << "nothing is sent after a refused value";
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8(c.message)});
    EXPECT_FALSE(page.OnKillActive()) << "the page may not be left";
    EditOf(c.id).setText(before);
    EXPECT_TRUE(page.OnKillActive());
  }
  EXPECT_EQ(steps, (std::vector<std::string>(cases.size(), "before")));
}

TEST_F(KitPageTest, ValuesAtTheirLimitsAreRead) {
  EditOf(kCount).setText(QStringLiteral("10"));
  EditOf(kMeter).setText(QStringLiteral("18446744073709551615"));
  EditOf(kName).setText(QStringLiteral("一二三四五六"));
  EditOf(kReal).setText(QStringLiteral("-1.5"));
  ASSERT_TRUE(page.ReadValues());
  EXPECT_EQ(page.Int(kCount), 10);
  EXPECT_EQ(page.UInt64(kMeter), 18446744073709551615ULL);
  EXPECT_EQ(page.TextValue(kName), "一二三四五六");
  EXPECT_EQ(page.Float(kReal), -1.5f);
  page.UInt64(kMeter) = 1234567890123456ULL;
  page.ShowAllValues();
  EXPECT_EQ(EditOf(kMeter).text(), QStringLiteral("1234567890123456"));
}

TEST_F(KitPageTest, ComboAndRadioWithNothingChosenGiveMinusOne) {
  ASSERT_TRUE(page.ReadValues());
  EXPECT_EQ(page.Int(kLevel), -1);
  EXPECT_EQ(page.ChosenData(kLevel), -1);
  EXPECT_EQ(page.Int(kModeA), -1);
  EXPECT_EQ(page.ChosenData(kSlot), 5);

  Control<QComboBox>(page, kLevel).setCurrentIndex(1);
  Control<QRadioButton>(page, kModeB).setChecked(true);
  ASSERT_TRUE(page.ReadValues());
  EXPECT_EQ(page.Int(kLevel), 1);
  EXPECT_EQ(page.ChosenData(kLevel), 20);
  EXPECT_EQ(page.Int(kModeA), 1);

  page.Int(kModeA) = -1;
  page.ShowAllValues();
  EXPECT_FALSE(Control<QRadioButton>(page, kModeA).isChecked());
  EXPECT_FALSE(Control<QRadioButton>(page, kModeB).isChecked());
}

TEST_F(KitPageTest, StepsRunInTheirOrderAroundTheCall) {
  for (int result : {1, 0, -1}) {
    SCOPED_TRACE(result);
    FakeApi fresh;
    FakeApi::SetResult(result);
    steps.clear();
    page.SetIconState(kState, IconState::kOn);
    Press(kSendThree);
    EXPECT_EQ(steps, (std::vector<std::string>{"before", "guard", "call", result == 1 ? "after 1" : "after"}));
    EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_LAMP_Ctrl", {kHandle, kNvsid, 1, 2, 5}}}));
    EXPECT_EQ(page.IconStateOf(kState), IconState::kPending) << "the pending icon whatever the result";
    EXPECT_EQ(Control<QPushButton>(page, kSendThree).text(), QStringLiteral("再读"));
  }
}

TEST_F(KitPageTest, WithoutASessionOnlyTheStepsBeforeTheCheckRun) {
  theApp.m_hSession = nullptr;
  Press(kSendThree);
  EXPECT_EQ(steps, std::vector<std::string>{"before"});
  Press(kNoExport);
  EXPECT_EQ(ui.messages, (QStringList{QStringLiteral("请先初始化模块!"), QStringLiteral("请先初始化模块!")}))
      << "a button without an export still checks the session";
  Press(kNoHandler);
  EXPECT_EQ(ui.messages.size(), 2) << "a button without a handler does nothing";
  EXPECT_TRUE(FakeApi::Calls().empty());
}

TEST_F(KitPageTest, AReadBeforeTheCheckTakesThePageEvenWithoutASession) {
  EditOf(kName).setText(QStringLiteral("abc"));
  theApp.m_hSession = nullptr;
  Press(kReadFirst);
  EXPECT_EQ(page.TextValue(kName), "abc");
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("请先初始化模块!")});
  theApp.m_hSession = reinterpret_cast<IotHandle*>(static_cast<intptr_t>(kHandle));
  EditOf(kValueA).setText(QStringLiteral("3"));
  Press(kReadFirst);
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_LAMP_Ctrl", {kHandle, kNvsid, 1, 2, 3}}}));
}

TEST_F(KitPageTest, ARefusingGuardSendsNothing) {
  Press(kGuarded);
  EXPECT_EQ(ui.messages, QStringList{QStringLiteral("先获取表号!")});
  EXPECT_TRUE(FakeApi::Calls().empty());
  EditOf(kMeter).setText(QStringLiteral("1234567890123456"));
  Press(kGuarded);
  EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{{"CM_IOT_LAMP_Ctrl", {kHandle, kNvsid, 1, 2, 56}}}));
}

TEST_F(KitPageTest, ADisabledButtonSendsNothingUntilThePageEnablesIt) {
  EXPECT_FALSE(Control<QPushButton>(page, kOff).isEnabled());
  page.Press(kOff);
  EXPECT_TRUE(FakeApi::Calls().empty());
  page.Enable(kOff, true);
  page.Press(kOff);
  EXPECT_EQ(FakeApi::Calls().size(), 1u);
}

TEST_F(KitPageTest, TheErrorLineOnlyForMinusOne) {
  for (int result : {1, 0, -1}) {
    FakeApi fresh;
    FakeApi::SetResult(result);
    Press(kSend);
  }
  EXPECT_EQ(LogLines(), QStringList{Logged("KIT: 错误")});
}

TEST_F(KitPageTest, RulesForSeveralNamesSetValuesAndShowOnlyWhereAsked) {
  Show(page, NumberReply("SECOND", "a", 41));
  EXPECT_EQ(page.Int(kValueA), 41);
  EXPECT_EQ(EditOf(kValueA).text(), QStringLiteral("41"));
  Show(page, NumberReply("quiet", "b", 42));
  EXPECT_EQ(page.Int(kValueB), 42);
  EXPECT_EQ(EditOf(kValueB).text(), QStringLiteral("8")) << "set, not shown";
}

TEST_F(KitPageTest, ArraysZeroOrLeaveTheControlsBeyondTheirEnd) {
  const std::string two =
      "{\"data\":{\"values\":{\"precision\":0,\"subtype\":\"\",\"type\":\"int\",\"unit\":\"\",\"value\":[1,2]}},"
      "\"devtype\":\"KIT\",\"msg\":\"%s\",\"netid\":1,\"nodid\":2,\"nvsid\":1000001,\"version\":2}\n";
  auto named = [&two](const std::string& msg) {
    std::string text = two;
    text.replace(text.find("%s"), 2, msg);
    return text;
  };
  Show(page, named("partial"));
  EXPECT_EQ(EditOf(kValueC).text(), QStringLiteral("9"));
  EXPECT_EQ(EditOf(kValueA).text(), QStringLiteral("1"));
  Show(page, named("array"));
  EXPECT_EQ(page.Int(kValueB), 2);
  EXPECT_EQ(page.Int(kValueC), 0);
  Show(page, named("rows"));
  QTableWidget& rows = Control<QTableWidget>(page, kRows);
  ASSERT_EQ(rows.rowCount(), 2);
  EXPECT_EQ(rows.item(1, 2)->text(), QStringLiteral("2"));
  EXPECT_EQ(rows.item(1, 2)->textAlignment(), Qt::AlignRight | Qt::AlignVCenter);
}

TEST_F(KitPageTest, WordsComparedExactlyOrIgnoringCase) {
  struct Case {
    const char* msg;
    const char* word;
    IconState icon;
    int logLines;
  };
  const std::vector<Case> cases = {
      {"exact", "on", IconState::kOn, 0},        {"exact", "ON", IconState::kBusy, 0},
      {"exact", "", IconState::kBusy, 0},        {"loose", "ON", IconState::kOn, 1},
      {"LOOSE", "On", IconState::kOn, 1},        {"loose", "off", IconState::kPending, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.msg) + " " + c.word);
    const int before = static_cast<int>(LogLines().size());
    page.SetIconState(kState, IconState::kOff);
    Show(page, NodeReply("KIT", c.msg, {{"word", c.word}}));
    EXPECT_EQ(page.IconStateOf(kState), c.icon);
    EXPECT_EQ(LogLines().size() - before, c.logLines);
  }
}

TEST_F(KitPageTest, EveryDrainedTextTurnsThePageIconPending) {
  page.SetIconState(kState, IconState::kOn);
  Show(page, NodeReply("KIT", "unknown-to-every-rule"));
  EXPECT_EQ(page.IconStateOf(kState), IconState::kPending);
}

TEST_F(KitPageTest, ARuleForAnyNameTakesWhatNoRuleBeforeItTook) {
  Show(page, NodeReply("KIT", "other", {{"word", "%s%n"}}));
  Show(page, NodeReply("KIT", "line", {{"word", "甲"}}));
  EXPECT_EQ(LogLines(), QStringList{Logged("其他: %s%n")}) << "a device text is never a format";
  ASSERT_EQ(Control<QListWidget>(page, kLines).count(), 1);
  EXPECT_EQ(Control<QListWidget>(page, kLines).item(0)->text(), QStringLiteral("行: 甲"));
}

}  // namespace
