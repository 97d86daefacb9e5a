#include "demo/pages/security_pages.h"

#include <string>

#include "demo/pages/state_words.h"
#include "demo/shell/sentrell_api.h"

namespace {

using statewords::OnOffIcon;
using statewords::PendingButton;

constexpr int kStateGroup = 1;
constexpr int kSirenGroup = 1;

constexpr DoorContactFamily kBatteryContact{"安全防护::门磁", 179, "DCDBAT", false};
constexpr DoorContactFamily kContactB{"安全防护::门磁(B型)", 183, "DCDB", true};

PageDescription DoorContactDescription(const DoorContactFamily& f) {
  PageDescription page;
  page.controls = {Group(kStateGroup, "状态").At(0, 0), Icon(IDC_DOOR_STATE).In(kStateGroup).At(0, 0)};
  if (f.canQuery) {
    page.buttons = {PendingButton(
                        IDC_DOOR_QUERY, "查询状态(&Q)",
                        [](KitPage& p) { return p.Send(Api().CM_IOT_DCDB_QueryStatus); }, IDC_DOOR_STATE)
                        .At(1, 0)};
  }
  page.nodeFilter = true;
  page.replies = {On("status", {OnOffIcon(IDC_DOOR_STATE)}), On("fault", {FaultLog(f.family, Words::kIgnoringCase)})};
  return page;
}

PageDescription SirenDescription() {
  PageDescription page;
  page.controls = {
      Group(kSirenGroup, "警笛控制").At(0, 0),
      Edit(IDC_SIREN_DURATION, "报警时长(ms):", ValueKind::kInt).In(kSirenGroup).At(0, 0),
  };
  // The library keeps the duration within what the siren takes.
  page.buttons = {Button(IDC_SIREN_START, "开启(&S)")
                      .Reads(ReadPage::kAfterCheck)
                      .Calls([](KitPage& p) { return p.Send(Api().CM_IOT_WCAW_Ctrl, p.Int(IDC_SIREN_DURATION)); })
                      .In(kSirenGroup)
                      .At(0, 2)};
  return page;
}

}  // namespace

DoorContactPage::DoorContactPage(const DoorContactFamily& family, QWidget* parent)
    : KitPage(QString::fromUtf8(family.caption), family.dialogId, DoorContactDescription(family), parent) {}

CDCDBATPage::CDCDBATPage(QWidget* parent) : DoorContactPage(kBatteryContact, parent) {}

CDCDBPage::CDCDBPage(QWidget* parent) : DoorContactPage(kContactB, parent) {}

CWCAWPage::CWCAWPage(QWidget* parent)
    : KitPage(QString::fromUtf8("安全防护::无线民用警笛"), 156, SirenDescription(), parent) {}

CLabPage::CLabPage(QWidget* parent) : CPropertyPage(QString::fromUtf8("实验室"), 157, parent) {}

CSecurityPage::CSecurityPage(QWidget* parent) : CPropertyPage(QString::fromUtf8("安全防护"), 154, parent) {}
