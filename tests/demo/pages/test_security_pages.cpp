// The security pages: the door contacts, the siren and the category pages
// of the laboratory and security branches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLineEdit>
#include <QPushButton>

#include "demo/pages/security_pages.h"
#include "library/api/commands_switches.h"
#include "tests/demo/page_fixture.h"
#include "tests/demo/reply_texts.h"
#include "tests/support/device_replies.h"

namespace {

using demotest::FakeApi;
using demotest::NodeReply;
using demotest::RecordedCall;
using demotest::ReplyNode;

IotReply ContactFrame(std::uint8_t commandCode, std::uint8_t state, std::uint16_t nodeAddress = 2) {
  IotReply reply;
  reply.nvsid = 1000001;
  reply.netId = 1;
  reply.nodeAddress = nodeAddress;
  reply.commandCode = commandCode;
  reply.functionByte = 0x40;
  reply.payload = {state};
  return reply;
}

class SecurityTest : public demotest::PageFixture {
 protected:
  SecurityTest() {
    for (KitPage* page : std::initializer_list<KitPage*>{&battery, &contactB, &siren}) page->EnsureCreated();
  }

  static void ShowAll(KitPage& page, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) page.QueueReply(text);
    page.OnDeviceReply(0, 0);
  }

  CDCDBATPage battery;
  CDCDBPage contactB;
  CWCAWPage siren;
  const ReplyNode target{kNvsid, kNetId, kNodeAddress};
};

TEST_F(SecurityTest, QueryAndSirenCallTheirExportsWhateverTheResult) {
  EXPECT_EQ(Control<QPushButton>(contactB, IDC_DOOR_QUERY).text(), QString::fromUtf8("查询状态(&Q)"));
  EXPECT_EQ(Control<QPushButton>(siren, IDC_SIREN_START).text(), QString::fromUtf8("开启(&S)"));
  EXPECT_TRUE(battery.findChildren<QPushButton*>().isEmpty());
  for (int result : {1, 0, -1}) {
    FakeApi fresh;
    FakeApi::SetResult(result);
    contactB.SetIconState(IDC_DOOR_STATE, IconState::kOn);
    Control<QPushButton>(contactB, IDC_DOOR_QUERY).click();
    EXPECT_EQ(contactB.IconStateOf(IDC_DOOR_STATE), IconState::kPending);
    // Duration 0 still sounds; the library keeps any duration in range.
    for (const char* typed : {"0", "5000", "70000", "-1"}) {
      Control<QLineEdit>(siren, IDC_SIREN_DURATION).setText(QString::fromLatin1(typed));
      Control<QPushButton>(siren, IDC_SIREN_START).click();
    }
    EXPECT_EQ(FakeApi::Calls(), (std::vector<RecordedCall>{
                                    {"CM_IOT_DCDB_QueryStatus", {kHandle, kNvsid, 1, 2}},
                                    {"CM_IOT_WCAW_Ctrl", {kHandle, kNvsid, 1, 2, 0}},
                                    {"CM_IOT_WCAW_Ctrl", {kHandle, kNvsid, 1, 2, 5000}},
                                    {"CM_IOT_WCAW_Ctrl", {kHandle, kNvsid, 1, 2, 70000}},
                                    {"CM_IOT_WCAW_Ctrl", {kHandle, kNvsid, 1, 2, -1}},
                                }));
  }
  EXPECT_TRUE(Log().isEmpty());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SecurityTest, SirenStartsAtZeroAndRefusesADurationThatIsNoNumber) {
  EXPECT_EQ(Control<QLineEdit>(siren, IDC_SIREN_DURATION).text(), QStringLiteral("0"));
  Control<QLineEdit>(siren, IDC_SIREN_DURATION).setText(QStringLiteral("long"));
  siren.Press(IDC_SIREN_START);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages(), QStringList{QString::fromUtf8("请输入一个整数。")});
}

TEST_F(SecurityTest, WithoutASessionNothingIsSent) {
  theApp.m_hSession = nullptr;
  contactB.Press(IDC_DOOR_QUERY);
  siren.Press(IDC_SIREN_START);
  EXPECT_TRUE(FakeApi::Calls().empty());
  EXPECT_EQ(Messages().size(), 2);
  EXPECT_EQ(contactB.IconStateOf(IDC_DOOR_STATE), IconState::kTemplate);
}

TEST_F(SecurityTest, ContactsShowTheStatesTheLibraryReports) {
  for (const auto& [page, code] : {std::pair<KitPage*, std::uint8_t>{&battery, 172}, {&contactB, 44}}) {
    for (const auto& [state, icon] : {std::pair{0, IconState::kOff}, std::pair{1, IconState::kOn}}) {
      const std::string text = testsupport::LibraryReplyText(ContactFrame(code, static_cast<std::uint8_t>(state)));
      ASSERT_FALSE(text.empty()) << int{code};
      Show(*page, text);
      EXPECT_EQ(page->IconStateOf(IDC_DOOR_STATE), icon) << text;
    }
  }
  // Words ignoring case; any other word or none: pending.
  const std::vector<std::pair<std::vector<std::pair<std::string, std::string>>, IconState>> words = {
      {{{"status", "OFF"}}, IconState::kOff}, {{{"status", "On"}}, IconState::kOn},
      {{{"status", "ajar"}}, IconState::kPending}, {{}, IconState::kPending}};
  for (const auto& [elements, icon] : words) {
    Show(battery, NodeReply("DCDBAT", "STATUS", elements, target));
    EXPECT_EQ(battery.IconStateOf(IDC_DOOR_STATE), icon);
  }
}

TEST_F(SecurityTest, TheSimulatedContactBAnswersAQueryWithClosed) {
  testsupport::SimulatedDevice device(44, kNetId, kNodeAddress, kNvsid);
  ASSERT_TRUE(device.Exists());
  contactB.Press(IDC_DOOR_QUERY);
  Show(contactB, device.One(DcdbQueryStatus()));
  EXPECT_EQ(contactB.IconStateOf(IDC_DOOR_STATE), IconState::kOff);
}

TEST_F(SecurityTest, ContactsSkipTheTextOfAnotherNodeAndShowTheNextOnes) {
  for (const auto& [page, code] : {std::pair<KitPage*, std::uint8_t>{&battery, 172}, {&contactB, 44}}) {
    Show(*page, testsupport::LibraryReplyText(ContactFrame(code, 1)));
    Show(*page, testsupport::LibraryReplyText(ContactFrame(code, 0, 3)));
    EXPECT_EQ(page->IconStateOf(IDC_DOOR_STATE), IconState::kOn);
    ShowAll(*page, {testsupport::LibraryReplyText(ContactFrame(code, 1, 3)),
                    testsupport::LibraryReplyText(ContactFrame(code, 0))});
    EXPECT_EQ(page->IconStateOf(IDC_DOOR_STATE), IconState::kOff);
  }
}

TEST_F(SecurityTest, ContactFaultsCarryTheirFamilyWord) {
  Show(battery, NodeReply("DCDBAT", "fault", {{"info", "sensor"}}, target));
  Show(contactB, NodeReply("DCDB", "Fault", {{"info", "POWER"}}, target));
  Show(contactB, NodeReply("DCDB", "fault", {{"info", "tamper"}}, target));
  ASSERT_EQ(LogLines().size(), 2);
  EXPECT_EQ(LogLines().value(0), Logged("DCDBAT传感器故障!"));
  EXPECT_EQ(LogLines().value(1), Logged("DCDB电源故障"));
}

TEST_F(SecurityTest, CategoryPagesAreEmpty) {
  CLabPage lab;
  CSecurityPage security;
  for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&lab, &security}) {
    page->EnsureCreated();
    EXPECT_TRUE(page->findChildren<QWidget*>().isEmpty()) << page->Caption().toStdString();
  }
  EXPECT_EQ(lab.Caption(), QString::fromUtf8("实验室"));
  EXPECT_EQ(security.DialogId(), 154);
}

}  // namespace
