// Controls sit in the group boxes their pages name: the cabinet's account
// type frames its radio buttons and the fields of a box's user, the
// card-power page's work mode frames the power icon.
#include <gtest/gtest.h>

#include <QGroupBox>

#include "demo/pages/cabinet_pages.h"
#include "demo/pages/card_power_page.h"
#include "tests/demo/page_fixture.h"

namespace {

class PageGroupsTest : public demotest::PageFixture {};

// The title of the nearest group box around the control; empty when none.
QString GroupOf(QWidget& page, int id) {
  auto* control = page.findChild<QWidget*>(QString::number(id));
  if (control == nullptr) return QStringLiteral("(no control)");
  for (QWidget* up = control->parentWidget(); up != nullptr && up != &page; up = up->parentWidget()) {
    if (auto* group = qobject_cast<QGroupBox*>(up)) return group->title();
  }
  return {};
}

TEST_F(PageGroupsTest, ControlsSitInTheGroupsTheirPagesName) {
  CCabMgzPage cabinet;
  CICReadPage power;
  cabinet.EnsureCreated();
  power.EnsureCreated();
  struct Case {
    KitPage* page;
    int id;
    const char* group;
  };
  const Case cases[] = {
      {&cabinet, IDC_CABMGZ_ACCOUNT, "账户类型"},  {&cabinet, IDC_CABMGZ_ACCOUNT_PASSWORD, "账户类型"},
      {&cabinet, IDC_CABMGZ_USER, "账户类型"},     {&cabinet, IDC_CABMGZ_CARD, "账户类型"},
      {&cabinet, IDC_CABMGZ_BOX, "账户类型"},      {&cabinet, IDC_CABMGZ_PASSWORD, "账户类型"},
      {&cabinet, IDC_CABMGZ_ADD, "箱体管理"},      {&cabinet, IDC_CABMGZ_REMOVE_BOX, "箱体管理"},
      {&power, IDC_ICREAD_POWER_ICON, "工作模式"}, {&power, IDC_ICREAD_SET_MODE, "工作模式"},
      {&power, IDC_ICREAD_ON, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GroupOf(*c.page, c.id).toStdString(), c.group) << c.id;
  }
  // The account type is a group inside the box management.
  EXPECT_EQ(GroupOf(cabinet, IDC_CABMGZ_ACCOUNT_GROUP).toStdString(), "箱体管理");
}

}  // namespace
