// Fields a page has disabled are left out when the page is read: a value the
// operator typed into a field that the page then took away neither refuses
// a command nor reaches it. An enabled field with a refused value still
// stops the command.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "demo/pages/cabinet_pages.h"
#include "demo/pages/card_power_page.h"
#include "tests/demo/page_fixture.h"

namespace {

using demotest::FakeApi;
using demotest::RecordedCall;

class DisabledFieldsTest;

struct Case {
  const char* what;
  // What the operator does before the press, and on which page.
  std::function<KitPage&(DisabledFieldsTest&)> steps;
  int button;
  std::optional<RecordedCall> sent;  // none: nothing is sent and the press shows one message
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.what; }

class DisabledFieldsTest : public demotest::PageFixture, public ::testing::WithParamInterface<Case> {
 public:
  DisabledFieldsTest() {
    cabinet.EnsureCreated();
    power.EnsureCreated();
  }
  static void Click(KitPage& page, int radioId) { Control<QRadioButton>(page, radioId).click(); }
  static void Type(KitPage& page, int editId, const char* text) {
    Control<QLineEdit>(page, editId).setText(QString::fromUtf8(text));
  }

  // The cabinet: box entry 3 is box 2, user 7, card 1234, and a password
  // above the range of 0 to 999999 for an account with a password.
  KitPage& CabinetFields() {
    Click(cabinet, IDC_CABMGZ_ACCOUNT_PASSWORD);
    Control<QComboBox>(cabinet, IDC_CABMGZ_BOX).setCurrentIndex(2);
    Type(cabinet, IDC_CABMGZ_USER, "7");
    Type(cabinet, IDC_CABMGZ_CARD, "1234");
    Type(cabinet, IDC_CABMGZ_PASSWORD, "1000000");
    return cabinet;
  }
  // The card-power page: a school text, then mode three with a start time
  // that is not a number.
  KitPage& ModeThreeFields() {
    Type(power, IDC_ICREAD_SCHOOL, "Lab");
    Click(power, IDC_ICREAD_MODE3);
    Type(power, IDC_ICREAD_DAYS, "x");
    Type(power, IDC_ICREAD_HOURS, "3");
    return power;
  }

  CCabMgzPage cabinet;
  CICReadPage power;
};

TEST_P(DisabledFieldsTest, TheCommandGoesOutWithTheEnabledFieldsOnly) {
  const Case& c = GetParam();
  KitPage& page = c.steps(*this);
  const qsizetype messages = Messages().size();
  const std::size_t calls = FakeApi::Calls().size();
  page.Press(c.button);
  if (c.sent) {
    ASSERT_EQ(FakeApi::Calls().size(), calls + 1);
    EXPECT_EQ(FakeApi::Calls().back(), *c.sent);
    EXPECT_EQ(Messages().size(), messages);
  } else {
    EXPECT_EQ(FakeApi::Calls().size(), calls);
    EXPECT_EQ(Messages().size(), messages + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    CabinetAndCardPower, DisabledFieldsTest,
    ::testing::Values(
        // The ordinary user takes the password field away.
        Case{"cabinet ordinary user",
             [](DisabledFieldsTest& t) -> KitPage& {
               t.CabinetFields();
               DisabledFieldsTest::Click(t.cabinet, IDC_CABMGZ_ACCOUNT);
               return t.cabinet;
             },
             IDC_CABMGZ_ADD, RecordedCall{"CM_IOT_CABMGZ_AddUserToBox", DisabledFieldsTest::Node({2, 1234})}},
        Case{"cabinet account with password", [](DisabledFieldsTest& t) -> KitPage& { return t.CabinetFields(); },
             IDC_CABMGZ_ADD, std::nullopt},
        // Mode one takes the start time away.
        Case{"card power mode one",
             [](DisabledFieldsTest& t) -> KitPage& {
               t.ModeThreeFields();
               DisabledFieldsTest::Click(t.power, IDC_ICREAD_MODE);
               return t.power;
             },
             IDC_ICREAD_SET_MODE, RecordedCall{"CM_IOT_ICREAD_SetMode1", DisabledFieldsTest::Node({}), {"Lab"}}},
        Case{"card power mode three", [](DisabledFieldsTest& t) -> KitPage& { return t.ModeThreeFields(); },
             IDC_ICREAD_SET_MODE, std::nullopt}),
    [](const ::testing::TestParamInfo<Case>& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

}  // namespace
