// The valuables cabinet and blood-pressure pages: their commands with the
// arguments read from the page and the result log, and the replies of the
// library's decoders as lines, rows and values.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>

#include "demo/pages/cabinet_pages.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/pages/target_replies.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::Decoded;
using demotest::Renamed;
using demotest::FakeApi;
using demotest::RecordedCall;

constexpr std::uint8_t kCabinet = 97;
constexpr std::uint8_t kMeter = 196;

class CabinetPagesTest : public demotest::PageFixture {
 protected:
  CabinetPagesTest() {
    cabinet.EnsureCreated();
    meter.EnsureCreated();
  }

  // Types into the cabinet's box fields and picks the account type and box.
  void Fill(int accountType, int boxEntry, const char* user, const char* card, const char* password) {
    if (accountType >= 0) {
      cabinet.findChild<QRadioButton*>(QString::number(accountType == 0 ? 1365 : 1381))->click();
    }
    cabinet.findChild<QComboBox*>(QStringLiteral("1372"))->setCurrentIndex(boxEntry);
    cabinet.findChild<QLineEdit*>(QStringLiteral("1366"))->setText(QString::fromUtf8(user));
    cabinet.findChild<QLineEdit*>(QStringLiteral("1367"))->setText(QString::fromUtf8(card));
    cabinet.findChild<QLineEdit*>(QStringLiteral("1382"))->setText(QString::fromUtf8(password));
  }
  std::vector<std::string> Lines(int listBoxId, KitPage& page) {
    std::vector<std::string> lines;
    QListWidget* list = page.ListBoxOf(listBoxId);
    for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text().toStdString());
    return lines;
  }
  std::vector<std::string> Row(KitPage& page, int listId, int row) {
    std::vector<std::string> cells;
    QTableWidget* list = page.ListView(listId);
    for (int c = 0; c < list->columnCount(); ++c) cells.push_back(list->item(row, c)->text().toStdString());
    return cells;
  }

  CCabMgzPage cabinet;
  CSphygmoMeterPage meter;
};

TEST_F(CabinetPagesTest, CabinetButtonsSendTheirCommandsAndLogEveryResult) {
  struct Case {
    int account;
    int button;
    RecordedCall call;
    const char* operation;
  };
  // Entry "3" is box 2; user 7, card 1234, password 654321.
  const std::vector<Case> cases = {
      {0, 1364, {"CM_IOT_CABMGZ_AddUserToBox", Node({2, 1234})}, "添加用户到箱体"},
      {1, 1364, {"CM_IOT_CABMGZ_AddAdvUserToBox", Node({2, 7, 654321, 1234})}, "添加带密码用户到箱体"},
      {0, 1036, {"CM_IOT_CABMGZ_RemoveUserFromBox", Node({2, 1234})}, "从箱体删除用户"},
      {1, 1036, {"CM_IOT_CABMGZ_RemoveAdvUserFromBox", Node({2, 7})}, "从箱体删除带密码用户"},
      {0, 1369, {"CM_IOT_CABMGZ_ClearUserInBox", Node({2})}, "从箱体清除用户"},
      {1, 1369, {"CM_IOT_CABMGZ_ClearAdvUserInBox", Node({2})}, "从箱体清除带密码用户"},
      {-1, 1131, {"CM_IOT_CABMGZ_OpenBox", Node({2})}, "打开指定箱体"},
      {-1, 1371, {"CM_IOT_CABMGZ_GetWeightInBox", Node({2})}, "查询箱体内物品重量"},
      {-1, 1373, {"CM_IOT_CABMGZ_ClearAdminInBox", Node({2})}, "清除管理员信息"},
      {-1, 1374, {"CM_IOT_CABMGZ_RemoveBoxFromCabinet", Node({2})}, "从柜体中删除箱体"},
      {-1, 1375, {"CM_IOT_CABMGZ_ReinitCabinet", Node({})}, "柜体初始化"},
      {-1, 1376, {"CM_IOT_CABMGZ_ClearAdminInCabinet", Node({})}, "清除柜体中的管理员信息"},
      {-1, 1377, {"CM_IOT_CABMGZ_GetAdminInfoFromCabinet", Node({})}, "查询管理员信息"},
      {-1, 1378, {"CM_IOT_CABMGZ_GetBoxInfoOfCabinet", Node({})}, "查询箱体组合信息"},
  };
  for (int result : {1, 0, -1}) {
    for (const Case& c : cases) {
      FakeApi::SetResult(result);
      Fill(c.account, 2, "7", "1234", "654321");
      const auto before = FakeApi::Calls().size();
      const QStringList logged = LogLines();
      cabinet.Press(c.button);
      const auto calls = FakeApi::Calls();
      ASSERT_EQ(calls.size(), before + 1) << c.call.name;
      EXPECT_EQ(calls.back(), c.call);
      const std::string line = std::string("贵重物品看管: ") + c.operation + (result == 1 ? "成功!" : "错误!");
      EXPECT_EQ(LogLines().mid(logged.size()), QStringList{Logged(line)}) << result;
    }
  }
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CabinetPagesTest, BoxEntriesGiveBoxNumbersFromZeroAndNoneGivesMinusOne) {
  for (const auto& [entry, box] : {std::pair{0, 0LL}, std::pair{15, 15LL}, std::pair{-1, -1LL}}) {
    Fill(-1, entry, "0", "0", "0");
    cabinet.Press(1131);
    EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_CABMGZ_OpenBox", Node({box})})) << entry;
  }
  EXPECT_EQ(cabinet.findChild<QComboBox*>(QStringLiteral("1372"))->count(), 16);
  EXPECT_EQ(cabinet.findChild<QComboBox*>(QStringLiteral("1372"))->itemText(15), QStringLiteral("16"));
}

TEST_F(CabinetPagesTest, UserCommandsWithoutAnAccountTypeSendAndLogNothing) {
  Fill(-1, 0, "1", "2", "3");
  for (int button : {1364, 1036, 1369}) cabinet.Press(button);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_TRUE(LogLines().isEmpty());
}

TEST_F(CabinetPagesTest, PasswordFollowsTheAccountTypeAndIsRangeChecked) {
  QLineEdit* password = cabinet.findChild<QLineEdit*>(QStringLiteral("1382"));
  EXPECT_TRUE(password->isEnabled());
  Fill(0, 0, "1", "2", "3");
  EXPECT_FALSE(password->isEnabled());
  Fill(1, 0, "1", "2", "3");
  EXPECT_TRUE(password->isEnabled());

  Fill(1, 0, "1", "2", "1000000");
  cabinet.Press(1364);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(LogLines().isEmpty());
  Fill(1, 0, "1", "2", "999999");
  cabinet.Press(1364);
  EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_CABMGZ_AddAdvUserToBox", Node({0, 1, 999999, 2})}));
}

TEST_F(CabinetPagesTest, WithoutASessionNothingIsSentOrLogged) {
  theApp.m_hSession = nullptr;
  Fill(1, 0, "1", "2", "3");
  cabinet.Press(1364);
  cabinet.Press(1375);
  meter.Press(1391);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_TRUE(LogLines().isEmpty());
  EXPECT_EQ(ui.messages.size(), 3);
}

TEST_F(CabinetPagesTest, CabinetEventsOfTheDecoderBecomeLines) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Decoded(kCabinet, 0x32, {kCabinet, 0x55, 0, 0, 3}), "AddAdvUser Receive Success, [箱号:3]"},
      {Decoded(kCabinet, 0x40, {kCabinet, 0, 0, 0, 3}), "3号箱被关闭"},
      {Decoded(kCabinet, 0x41, {kCabinet, 0, 0, 0}), "箱体初始化状态: Start"},
      {Decoded(kCabinet, 0x51, {kCabinet, 0, 0, 0, 2, 1, 42, 0}), "用户42使用Card打开2号箱"},
      {Decoded(kCabinet, 0x51, {kCabinet, 0, 0, 0, 2, 3, 1}), "管理员Admin1打开2号箱"},
      {Decoded(kCabinet, 0x54, {kCabinet, 0, 0, 0, 3, 0xD2, 0x04, 0, 0}), "普通用户开门, 卡号1234打开3号箱"},
      {Decoded(kCabinet, 0x53, {kCabinet, 0, 0, 0, 5, 0x2C, 0x01}), "5号箱内的物品重量为300"},
      {Decoded(kCabinet, 0x52, {kCabinet, 0, 0, 0, 11, 0, 0, 0, 22, 0, 0, 0}), "管理员信息: 11, 22"},
      {Decoded(kCabinet, 0x10, {kCabinet, 0, 0, 0}), "BoxBroken"},
      {Decoded(kCabinet, 0x21, {kCabinet, 0, 0, 0}), "Storage"},
  };
  std::vector<std::string> expected;
  for (const auto& [text, line] : cases) {
    Show(cabinet, text);
    expected.push_back(line);
    EXPECT_EQ(Lines(1383, cabinet), expected) << text;
  }
}

TEST_F(CabinetPagesTest, EventsUnderTheOtherSpellingsAndTheDevicesOwnWords) {
  using demotest::NodeReply;
  Show(cabinet, Renamed(Decoded(kCabinet, 0x40, {kCabinet, 0, 0, 0, 4}), "\"boxclosed\"", "\"BoxClose\""));
  Show(cabinet, Renamed(Decoded(kCabinet, 0x54, {kCabinet, 0, 0, 0, 3, 0xD2, 0x04, 0, 0}), "\"card\"",
                        "\"info\""));
  Show(cabinet, NodeReply("CABMGZ", "Alarm", {{"info", "50%d%s"}}));
  Show(cabinet, NodeReply("CABMGZ", "fault", {{"info", "lid"}}));
  EXPECT_EQ(Lines(1383, cabinet),
            (std::vector<std::string>{"4号箱被关闭", "普通用户开门, 卡号1234打开3号箱", "50%d%s", "lid"}));
}

TEST_F(CabinetPagesTest, BoxInfoInsertsSixteenRowsOnTop) {
  // Box 1 size 5, box 2 size 2, box 3 size 7.
  Show(cabinet, Decoded(kCabinet, 0x50, {kCabinet, 3, 0, 0, 0x50, 0x21, 0x72}));
  QTableWidget* list = cabinet.ListView(1380);
  ASSERT_EQ(list->rowCount(), 16);
  EXPECT_EQ(Row(cabinet, 1380, 0), (std::vector<std::string>{"1", "5"}));
  EXPECT_EQ(Row(cabinet, 1380, 2), (std::vector<std::string>{"3", "7"}));
  EXPECT_EQ(Row(cabinet, 1380, 3), (std::vector<std::string>{"4", "0"}));
  EXPECT_EQ(Row(cabinet, 1380, 15), (std::vector<std::string>{"16", "0"}));
  Show(cabinet, Decoded(kCabinet, 0x50, {kCabinet, 1, 0, 0, 0x90}));
  ASSERT_EQ(list->rowCount(), 32);
  EXPECT_EQ(Row(cabinet, 1380, 0), (std::vector<std::string>{"1", "9"}));
  EXPECT_EQ(Row(cabinet, 1380, 2), (std::vector<std::string>{"3", "0"}));
  EXPECT_EQ(Row(cabinet, 1380, 15), (std::vector<std::string>{"16", "0"}));
  EXPECT_EQ(Row(cabinet, 1380, 16), (std::vector<std::string>{"1", "5"}));
  EXPECT_EQ(Row(cabinet, 1380, 18), (std::vector<std::string>{"3", "7"}));
  EXPECT_TRUE(Lines(1383, cabinet).empty());
}

TEST_F(CabinetPagesTest, MeterButtonsSendTheirOperationAndLogEveryResult) {
  const std::vector<std::tuple<int, long long, const char*>> cases = {
      {1391, 1, "打开电源"}, {1144, 2, "开始测量"}, {1048, 3, "停止测量"}, {1272, 4, "查询结果"}};
  for (int result : {1, 0, -1}) {
    for (const auto& [button, operation, text] : cases) {
      FakeApi::SetResult(result);
      const QStringList logged = LogLines();
      meter.Press(button);
      EXPECT_EQ(FakeApi::Calls().back(), (RecordedCall{"CM_IOT_SPHYGMOMETER_Ctrl", Node({operation})}));
      EXPECT_EQ(LogLines().mid(logged.size()),
                QStringList{Logged(std::string("血压计: ") + text + (result == 1 ? "成功!" : "错误!"))});
    }
  }
}

TEST_F(CabinetPagesTest, MeterSamplesAreRowsUntilTheNextStartAndTheResultFillsTheEdits) {
  for (std::uint8_t low : {0x78, 0x79, 0x7A}) Show(meter, Decoded(kMeter, 0x50, {kMeter, 0, 0, 0, 0, low, 1}));
  ASSERT_EQ(meter.ListView(1389)->rowCount(), 3);
  EXPECT_EQ(Row(meter, 1389, 0), (std::vector<std::string>{"120", "true"}));
  EXPECT_EQ(Row(meter, 1389, 2), (std::vector<std::string>{"122", "true"}));

  Show(meter, Decoded(kMeter, 0x51, {kMeter, 0, 0, 0, 121, 79, 68, 0}));
  EXPECT_EQ(meter.findChild<QLineEdit*>(QStringLiteral("1384"))->text(), QStringLiteral("121"));
  EXPECT_EQ(meter.findChild<QLineEdit*>(QStringLiteral("1385"))->text(), QStringLiteral("79"));
  EXPECT_EQ(meter.findChild<QLineEdit*>(QStringLiteral("1387"))->text(), QStringLiteral("68"));
  EXPECT_EQ(meter.findChild<QLineEdit*>(QStringLiteral("1388"))->text(), QStringLiteral("true"));

  Show(meter, Decoded(kMeter, 0x31, {kMeter, 0, 0, 0}));
  EXPECT_EQ(Lines(1390, meter), std::vector<std::string>{"Start"});

  FakeApi::SetResult(-1);
  meter.Press(1144);
  EXPECT_EQ(meter.ListView(1389)->rowCount(), 0);
}

}  // namespace
