#include "demo/pages/cabinet_pages.h"

#include <array>
#include <cstdint>
#include <span>
#include <utility>

#include <QTableWidget>

#include "demo/shell/cm_parser.h"
#include "demo/shell/sentrell_api.h"
#include "demo/shell/text_format.h"

namespace {

constexpr const char* kCabinetName = "贵重物品看管";
constexpr const char* kMeterName = "血压计";

std::string Word(const std::string& text, const char* element) {
  return CCMParser::GetDataElementValueString(text, element).value_or(std::string());
}

// The account type chosen: 0 ordinary user, 1 with password, -1 none.
int AccountType(KitPage& p) { return p.Int(IDC_CABMGZ_ACCOUNT); }
int Box(KitPage& p) { return static_cast<int>(p.ChosenData(IDC_CABMGZ_BOX)); }
int Card(KitPage& p) { return static_cast<int>(p.UInt(IDC_CABMGZ_CARD)); }

// A box command of the cabinet: the session check, the read of the page,
// the call, the log line.
ButtonRow CabinetButton(int id, const char* caption, KitCall call, std::string operation) {
  return Button(id, caption).Reads().Calls(std::move(call)).After(LogSentOrNot(kCabinetName, std::move(operation)));
}

// A user command whose export and operation follow the account type; with
// no type chosen it sends and logs nothing.
ButtonRow AccountButton(int id, const char* caption, KitCall ordinary, std::string ordinaryOperation,
                        KitCall withPassword, std::string passwordOperation) {
  return Button(id, caption)
      .Reads()
      .Guard([](KitPage& p) { return AccountType(p) == 0 || AccountType(p) == 1; })
      .Calls([ordinary = std::move(ordinary), withPassword = std::move(withPassword)](KitPage& p) {
        return AccountType(p) == 0 ? ordinary(p) : withPassword(p);
      })
      .After([ordinary = LogSentOrNot(kCabinetName, std::move(ordinaryOperation)),
              withPassword = LogSentOrNot(kCabinetName, std::move(passwordOperation))](KitPage& p, int result) {
        (AccountType(p) == 0 ? ordinary : withPassword)(p, result);
      });
}

// The password is asked for only for an account with a password.
void FollowAccountType(KitPage& p) {
  p.ReadValues();
  if (AccountType(p) == 0) p.Enable(IDC_CABMGZ_PASSWORD, false);
  if (AccountType(p) == 1) p.Enable(IDC_CABMGZ_PASSWORD, true);
}

ReplyAction EventLine(std::function<std::string(const std::string& text)> make) {
  return AppendLine(IDC_CABMGZ_EVENTS, std::move(make));
}

// 16 rows on top of the box list, box numbers 1 to 16 and their sizes; the
// sizes a shorter array lacks are 0.
void InsertBoxRows(KitPage& p, const std::string& text) {
  std::array<int, kCabinetBoxes> sizes{};
  CCMParser::GetDataElementValueArrayInt(text, "info", std::span<int>(sizes));
  QTableWidget* list = p.ListView(IDC_CABMGZ_BOXES);
  if (list == nullptr) return;
  for (int j = 0; j < kCabinetBoxes; ++j) {
    list->insertRow(j);
    // The list owns its items.
    list->setItem(j, 0, new QTableWidgetItem(QString::number(j + 1)));
    list->setItem(j, 1, new QTableWidgetItem(QString::number(sizes[static_cast<std::size_t>(j)])));
  }
}

// A rule whose actions are followed by showing the page's values.
ReplyRule ThenShow(std::vector<std::string> names, ReplyActions actions) {
  actions.push_back(Show());
  return On(std::move(names), std::move(actions));
}

std::vector<ReplyRule> CabinetReplies() {
  return {
      ThenShow({"alarm", "fault"}, {EventLine([](const std::string& t) { return Word(t, "info"); })}),
      // The cabinet's alarms and faults as its decoder sends them.
      ThenShow({"status"}, {[](KitPage& p, const std::string& t) {
                 for (const char* element : {"alarm", "fault"}) {
                   if (CCMParser::IsDataElement(t, element)) p.AppendLineTo(IDC_CABMGZ_EVENTS, Word(t, element));
                 }
               }}),
      ThenShow({"ack"}, {EventLine([](const std::string& t) {
                 return Format("%s %s %s, [箱号:%u]", Word(t, "info").c_str(), Word(t, "type").c_str(),
                               Word(t, "result").c_str(), CCMParser::GetDataElementValueUInt(t, "boxnum"));
               })}),
      ThenShow({"boxclose", "boxclosed"}, {EventLine([](const std::string& t) {
                 return Format("%u号箱被关闭", CCMParser::GetDataElementValueUInt(t, "boxnum"));
               })}),
      ThenShow({"boxinit"},
               {EventLine([](const std::string& t) { return "箱体初始化状态: " + Word(t, "status"); })}),
      ThenShow({"combininfo"}, {InsertBoxRows}),
      ThenShow({"advuseropen"}, {EventLine([](const std::string& t) {
                 return Format("用户%d使用%s打开%d号箱", CCMParser::GetDataElementValueInt(t, "user"),
                               Word(t, "operation").c_str(), CCMParser::GetDataElementValueInt(t, "box"));
               })}),
      ThenShow({"adminopen"}, {EventLine([](const std::string& t) {
                 return Format("管理员%s打开%d号箱", Word(t, "info").c_str(),
                               CCMParser::GetDataElementValueInt(t, "box"));
               })}),
      ThenShow({"useropen"}, {EventLine([](const std::string& t) {
                 const char* card = CCMParser::IsDataElement(t, "info") ? "info" : "card";
                 return Format("普通用户开门, 卡号%u打开%d号箱", CCMParser::GetDataElementValueUInt(t, card),
                               CCMParser::GetDataElementValueInt(t, "box"));
               })}),
      ThenShow({"boxweight"}, {EventLine([](const std::string& t) {
                 return Format("%u号箱内的物品重量为%d", CCMParser::GetDataElementValueUInt(t, "box"),
                               CCMParser::GetDataElementValueInt(t, "weight"));
               })}),
      ThenShow({"admininfo"}, {EventLine([](const std::string& t) {
                 std::array<std::uint32_t, 2> admins{};
                 CCMParser::GetDataElementValueArrayUInt(t, "info", std::span<std::uint32_t>(admins));
                 return Format("管理员信息: %u, %u", admins[0], admins[1]);
               })}),
      OnAnyName({Show()}),
  };
}

PageDescription CabinetDescription() {
  PageDescription page;
  std::vector<ComboItem> boxes;
  for (int box = 1; box <= kCabinetBoxes; ++box) boxes.push_back(ComboItem{std::to_string(box), box - 1});
  page.controls = {
      Group(IDC_CABMGZ_BOX_GROUP, "箱体管理").At(0, 0),
      Group(IDC_CABMGZ_ACCOUNT_GROUP, "账户类型").In(IDC_CABMGZ_BOX_GROUP).At(0, 0, 1, 4),
      Group(IDC_CABMGZ_CABINET_GROUP, "柜体管理").At(1, 0),
      // The account type first: a read that stops at a refused value has
      // read it already.
      Radio({IDC_CABMGZ_ACCOUNT, IDC_CABMGZ_ACCOUNT_PASSWORD}, {"普通用户", "带密码账户"})
          .OnChange(FollowAccountType)
          .In(IDC_CABMGZ_ACCOUNT_GROUP)
          .At(0, 0),
      Edit(IDC_CABMGZ_USER, "用户编号:", ValueKind::kInt).In(IDC_CABMGZ_ACCOUNT_GROUP).At(1, 0),
      Edit(IDC_CABMGZ_CARD, "卡    号:", ValueKind::kUInt).In(IDC_CABMGZ_ACCOUNT_GROUP).At(2, 0),
      Combo(IDC_CABMGZ_BOX, "箱    号:", std::move(boxes)).In(IDC_CABMGZ_ACCOUNT_GROUP).At(3, 0),
      Edit(IDC_CABMGZ_PASSWORD, "密    码:", ValueKind::kUInt)
          .Range(0, 999999)
          .In(IDC_CABMGZ_ACCOUNT_GROUP)
          .At(4, 0),
      List(IDC_CABMGZ_BOXES, {{"箱号", Align::kLeft, 50}, {"大小", Align::kLeft, 50}})
          .In(IDC_CABMGZ_CABINET_GROUP)
          .At(1, 0, 2, 2),
      Text("组合信息:").In(IDC_CABMGZ_CABINET_GROUP).At(1, 2, 2),
      ListBox(IDC_CABMGZ_EVENTS).In(IDC_CABMGZ_CABINET_GROUP).At(2, 2, 2),
  };
  const auto box = [](auto exportMember) {
    return [exportMember](KitPage& p) { return p.Send(Api().*exportMember, Box(p)); };
  };
  const auto cabinet = [](auto exportMember) {
    return [exportMember](KitPage& p) { return p.Send(Api().*exportMember); };
  };
  page.buttons = {
      AccountButton(
          IDC_CABMGZ_ADD, "&Add", [](KitPage& p) { return p.Send(Api().CM_IOT_CABMGZ_AddUserToBox, Box(p), Card(p)); },
          "添加用户到箱体",
          [](KitPage& p) {
            return p.Send(Api().CM_IOT_CABMGZ_AddAdvUserToBox, Box(p), p.Int(IDC_CABMGZ_USER),
                          static_cast<int>(p.UInt(IDC_CABMGZ_PASSWORD)), Card(p));
          },
          "添加带密码用户到箱体")
          .In(IDC_CABMGZ_BOX_GROUP)
          .At(0, 1),
      AccountButton(
          IDC_CABMGZ_REMOVE, "&Remove",
          [](KitPage& p) { return p.Send(Api().CM_IOT_CABMGZ_RemoveUserFromBox, Box(p), Card(p)); }, "从箱体删除用户",
          [](KitPage& p) { return p.Send(Api().CM_IOT_CABMGZ_RemoveAdvUserFromBox, Box(p), p.Int(IDC_CABMGZ_USER)); },
          "从箱体删除带密码用户")
          .In(IDC_CABMGZ_BOX_GROUP)
          .At(1, 1),
      AccountButton(IDC_CABMGZ_CLEAR, "&Clear", box(&SentrellApi::CM_IOT_CABMGZ_ClearUserInBox), "从箱体清除用户",
                    box(&SentrellApi::CM_IOT_CABMGZ_ClearAdvUserInBox), "从箱体清除带密码用户")
          .In(IDC_CABMGZ_BOX_GROUP)
          .At(2, 1),
      CabinetButton(IDC_CABMGZ_OPEN, "&Open", box(&SentrellApi::CM_IOT_CABMGZ_OpenBox), "打开指定箱体")
          .In(IDC_CABMGZ_BOX_GROUP)
          .At(3, 1),
      CabinetButton(IDC_CABMGZ_WEIGHT, "Get &Weight", box(&SentrellApi::CM_IOT_CABMGZ_GetWeightInBox),
                    "查询箱体内物品重量")
          .In(IDC_CABMGZ_BOX_GROUP)
          .At(0, 2),
      CabinetButton(IDC_CABMGZ_CLEAR_BOX_ADMIN, "Clear Ad&min", box(&SentrellApi::CM_IOT_CABMGZ_ClearAdminInBox),
                    "清除管理员信息")
          .In(IDC_CABMGZ_BOX_GROUP)
          .At(1, 2),
      CabinetButton(IDC_CABMGZ_REMOVE_BOX, "Remove &Box", box(&SentrellApi::CM_IOT_CABMGZ_RemoveBoxFromCabinet),
                    "从柜体中删除箱体")
          .In(IDC_CABMGZ_BOX_GROUP)
          .At(2, 2),
      CabinetButton(IDC_CABMGZ_REINIT, "Re&init", cabinet(&SentrellApi::CM_IOT_CABMGZ_ReinitCabinet), "柜体初始化")
          .In(IDC_CABMGZ_CABINET_GROUP)
          .At(0, 0),
      CabinetButton(IDC_CABMGZ_CLEAR_ADMIN, "Clear Admin", cabinet(&SentrellApi::CM_IOT_CABMGZ_ClearAdminInCabinet),
                    "清除柜体中的管理员信息")
          .In(IDC_CABMGZ_CABINET_GROUP)
          .At(0, 1),
      CabinetButton(IDC_CABMGZ_ADMIN_INFO, "Get Admin &Info",
                    cabinet(&SentrellApi::CM_IOT_CABMGZ_GetAdminInfoFromCabinet), "查询管理员信息")
          .In(IDC_CABMGZ_CABINET_GROUP)
          .At(0, 2),
      CabinetButton(IDC_CABMGZ_BOX_INFO, "Get Box Info", cabinet(&SentrellApi::CM_IOT_CABMGZ_GetBoxInfoOfCabinet),
                    "查询箱体组合信息")
          .In(IDC_CABMGZ_CABINET_GROUP)
          .At(0, 3),
  };
  page.replies = CabinetReplies();
  return page;
}

ButtonRow MeterButton(int id, const char* caption, int operation, std::string operationText, int column) {
  return Button(id, caption)
      .Calls([operation](KitPage& p) { return p.Send(Api().CM_IOT_SPHYGMOMETER_Ctrl, operation); })
      .After(LogSentOrNot(kMeterName, std::move(operationText)))
      .At(0, column);
}

PageDescription MeterDescription() {
  PageDescription page;
  page.controls = {
      Edit(IDC_SPHYGMO_SYSTOLIC, "高压:", ValueKind::kInt).At(1, 0),
      Edit(IDC_SPHYGMO_DIASTOLIC, "低压:", ValueKind::kInt).At(2, 0),
      Edit(IDC_SPHYGMO_HEART_RATE, "心率:", ValueKind::kInt).At(3, 0),
      Edit(IDC_SPHYGMO_ARRHYTHMIA, "", ValueKind::kText).Widest("false").At(4, 1),
      List(IDC_SPHYGMO_SAMPLES, {{"压力", Align::kLeft, 100}, {"心率检测", Align::kLeft, 100}}).At(1, 2, 2, 4),
      ListBox(IDC_SPHYGMO_ACKS).At(5, 0, 4),
  };
  ButtonRow start = MeterButton(IDC_SPHYGMO_START, "开始测量", 2, "开始测量", 1);
  start.After([log = start.after](KitPage& p, int result) {
    log(p, result);
    p.ClearRows(IDC_SPHYGMO_SAMPLES);
  });
  page.buttons = {
      MeterButton(IDC_SPHYGMO_POWER, "开启电源", 1, "打开电源", 0),
      start,
      MeterButton(IDC_SPHYGMO_STOP, "停止测量", 3, "停止测量", 2),
      MeterButton(IDC_SPHYGMO_QUERY, "查询结果", 4, "查询结果", 3),
  };
  page.replies = {
      ThenShow({"ack"}, {AppendLine(IDC_SPHYGMO_ACKS, [](const std::string& t) { return Word(t, "info"); })}),
      ThenShow({"data"}, {[](KitPage& p, const std::string& t) {
                 p.InsertRowTo(IDC_SPHYGMO_SAMPLES, {Format("%d", CCMParser::GetDataElementValueInt(t, "pressure")),
                                                     Word(t, "heartbreak")});
               }}),
      ThenShow({"result"},
               {SetValue(IDC_SPHYGMO_SYSTOLIC, "systolicpressure"), SetValue(IDC_SPHYGMO_DIASTOLIC, "diastolicpressure"),
                SetValue(IDC_SPHYGMO_HEART_RATE, "heartrate"), SetValue(IDC_SPHYGMO_ARRHYTHMIA, "arrhythmia")}),
      OnAnyName({Show()}),
  };
  return page;
}

}  // namespace

KitAfter LogSentOrNot(std::string name, std::string operation) {
  return [name = std::move(name), operation = std::move(operation)](KitPage& p, int result) {
    p.LogResult(result == 1 ? 1 : -1, name, operation);
  };
}

CCabMgzPage::CCabMgzPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::贵重物品管理"), 194, CabinetDescription(), parent) {}

CSphygmoMeterPage::CSphygmoMeterPage(QWidget* parent)
    : KitPage(QString::fromUtf8("实验室::血压测量"), 195, MeterDescription(), parent) {}
