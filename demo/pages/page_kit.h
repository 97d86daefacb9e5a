#pragma once
// Device pages described by tables: the controls (id, kind, caption, value,
// place in the page's grid or in a group's), the buttons (the steps of the
// command handler around one export call) and the rules that show the
// replies (per message name, a list of actions). The widgets are built when
// the page is first shown; the values exist from the page's construction.
//
// A page is a PageDescription; page code is needed only where a page does
// what no table row says (a page class then overrides or adds to the
// description's callbacks).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "demo/shell/device_page.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QProgressBar;
class QSlider;
class QTableWidget;

class KitPage;

// What a state icon shows.
enum class IconState {
  kTemplate,  // the pending image the page starts with
  kPending,
  kOn,
  kOff,
  kBusy,
};

enum class ControlKind {
  kText,      // a static text; one with an id may be changed by the page
  kIcon,      // a state icon, with an optional label before it
  kSlider,    // a horizontal slider that only shows a position
  kProgress,  // a progress bar
  kEdit,      // an edit with an optional label before it
  kCheck,     // a check box
  kList,      // a list view in report style
  kListBox,   // a list box of lines
  kCombo,     // a drop-down list with item data
  kRadio,     // radio buttons of one group, each with an id of its own
  kDate,      // a date picker
  kTime,      // a time-of-day picker
  kGroup,     // a group box with a grid of its own
};

// The kind of value an edit exchanges.
enum class ValueKind {
  kNone,
  kInt,     // signed integer
  kUInt,    // unsigned 32-bit integer
  kUInt64,  // unsigned 64-bit integer, shown as a decimal
  kFloat,   // float, 6 significant digits
  kDouble,  // double, 15 significant digits
  kText,
};

// The value of a control: int for signed edits, the chosen index of combo
// boxes, list boxes and radio groups (-1: none) and the position of sliders
// and progress bars; bool for check boxes; PickedDateTime for pickers.
using PageValue =
    std::variant<std::monostate, int, std::uint32_t, std::uint64_t, float, double, std::string, bool, PickedDateTime>;

enum class Align { kLeft, kCenter, kRight };

struct ListColumn {
  const char* heading = "";
  Align align = Align::kLeft;
  int width = 80;
};

struct ComboItem {
  std::string text;
  long long data = 0;
};

// One control of a page. Built with the functions below and adjusted with
// the chained setters, e.g. Edit(1085, "采样周期(ms):", ValueKind::kInt)
// .Initial(1000).In(kGroup).At(0, 0).
struct ControlRow {
  ControlKind kind = ControlKind::kText;
  int id = 0;              // 0: a static text without an id
  std::string text;        // caption, or the label before an edit, combo or icon
  ValueKind value = ValueKind::kNone;
  PageValue initial;       // the value the page starts with
  int group = 0;           // id of the group box it sits in; 0: the page
  int row = 0;
  int column = 0;
  int columnSpan = 1;
  int rowSpan = 1;
  bool readOnly = false;
  bool disabled = false;
  std::optional<ValueRange> range;  // checked whenever the page is read
  std::size_t maxLength = 0;        // characters; 0: no limit
  std::string widest;               // text edits: the widest text the page shows in it
  int minimum = 0;                  // slider and progress range
  int maximum = 0;
  int spinId = 0;                   // an edit's spin buttons, in `spinRange`
  ValueRange spinRange;
  std::vector<ListColumn> columns;  // list views
  std::vector<ComboItem> items;     // combo boxes
  std::vector<int> radioIds;        // radio groups: the buttons' ids ...
  std::vector<std::string> radioCaptions;  // ... and captions
  std::function<void(KitPage&)> changed;   // the user changed the control

  ControlRow& At(int atRow, int atColumn, int span = 1, int rows = 1);
  ControlRow& In(int groupId);
  ControlRow& Initial(PageValue value);
  ControlRow& ReadOnly();
  ControlRow& Disabled();
  ControlRow& Range(double least, double greatest);
  ControlRow& MaxLength(std::size_t characters);
  ControlRow& Widest(std::string text);
  ControlRow& Spin(int id, double least, double greatest);
  ControlRow& OnChange(std::function<void(KitPage&)> call);
};

ControlRow Text(std::string caption);
ControlRow Label(int id, std::string caption = {});
ControlRow Icon(int id, std::string label = {});
ControlRow Slider(int id, int minimum, int maximum, int position);
ControlRow Progress(int id, int minimum, int maximum, int position = 0);
ControlRow Edit(int id, std::string label, ValueKind kind);
ControlRow Check(int id, std::string caption, bool checked = false);
ControlRow List(int id, std::vector<ListColumn> columns);
ControlRow ListBox(int id, std::string label = {});
ControlRow Combo(int id, std::string label, std::vector<ComboItem> items, int chosen = -1);
ControlRow Radio(std::vector<int> ids, std::vector<std::string> captions, int chosen = -1);
ControlRow DatePicker(int id);
ControlRow TimePicker(int id);
ControlRow Group(int id, std::string caption);

// Combo items "from" .. "to" as decimal texts, each number its item data.
std::vector<ComboItem> NumberItems(int from, int to);

// The steps of a command handler, in the order they run: before the session
// check, the read of the page (before or after the check), the session
// check, a guard that may refuse, the export call, the report, after the
// call. A read that refuses a value sends nothing.
using KitStep = std::function<void(KitPage& page)>;
using KitGuard = std::function<bool(KitPage& page)>;  // false: nothing is sent
using KitCall = std::function<int(KitPage& page)>;
using KitAfter = std::function<void(KitPage& page, int result)>;

enum class ReadPage { kNo, kBeforeCheck, kAfterCheck };

struct ButtonRow {
  int id = 0;
  std::string caption;
  int group = 0;
  int row = 0;
  int column = 0;
  int columnSpan = 1;
  bool disabled = false;   // as the page's template has it
  bool handled = true;     // false: the button does nothing
  bool checksSession = true;
  KitStep before;
  ReadPage read = ReadPage::kNo;
  KitGuard guard;
  KitCall call;            // empty: no export (the steps still run)
  CommandReport::Mode report = CommandReport::kSilent;
  int iconId = 0;          // kPendingIcon: the icon set to pending
  std::string text;        // kErrorLine: the line; kResultLog: the name
  std::string detail;      // kResultLog: the operation
  KitAfter after;

  ButtonRow& At(int atRow, int atColumn, int span = 1);
  ButtonRow& In(int groupId);
  ButtonRow& Disabled();
  ButtonRow& NoHandler();
  ButtonRow& NoSessionCheck();
  ButtonRow& Before(KitStep step);
  ButtonRow& Reads(ReadPage when = ReadPage::kAfterCheck);
  ButtonRow& Guard(KitGuard check);
  ButtonRow& Calls(KitCall export_call);
  ButtonRow& PendingIcon(int icon);
  ButtonRow& ErrorLine(std::string line);
  ButtonRow& ResultLog(std::string name, std::string operation);
  ButtonRow& After(KitAfter step);
};

ButtonRow Button(int id, std::string caption);

// Common steps.
KitStep ClearValues(std::vector<int> ids);  // numbers to 0, texts emptied
KitStep ShowValues();                       // UpdateData(FALSE)
KitStep ClearAndShow(std::vector<int> ids);  // both, as pages do before a query
KitStep ClearList(int listId);              // every row or line removed
KitGuard CheckSampling(int periodId, int countId);
// Refuses with `message` while the value of `id` (an integer kind) is 0.
KitGuard RequireNonZero(int id, std::string message);
KitAfter SetIconAfter(int iconId, IconState state);

// One action of a reply rule, given the page and the whole message text.
using ReplyAction = std::function<void(KitPage& page, const std::string& text)>;
using ReplyActions = std::vector<ReplyAction>;

struct ReplyRule {
  std::vector<std::string> names;  // compared ignoring case; empty: any name
  ReplyActions actions;
};

ReplyRule On(std::string name, ReplyActions actions);
ReplyRule On(std::vector<std::string> names, ReplyActions actions);
ReplyRule On(std::initializer_list<const char*> names, ReplyActions actions);
ReplyRule OnAnyName(ReplyActions actions);

struct PageDescription {
  std::vector<ControlRow> controls;
  std::vector<ButtonRow> buttons;
  bool nodeFilter = false;  // only replies of theApp.NodeTarget
  int pendingIconForEveryText = 0;  // this icon turns pending for every drained text
  std::vector<ReplyRule> replies;   // the first rule whose name matches
  KitStep onInit;                   // after the widgets are built and shown
};

// Reply actions. The value actions set page values without showing them;
// Show() writes every value to its control.
ReplyAction Show();
// The element's "value" read with the reader of the control's value kind.
ReplyAction SetValue(int id, std::string element);
// A value of the text kind set to what `format` makes of the message.
ReplyAction SetText(int id, std::function<std::string(const std::string& text)> format);
enum class Rest { kZero, kLeave };
// The element's array into the controls `ids` (their value kinds are one
// kind): at most ids.size() items; the controls beyond the array's end are
// zeroed or left as they are.
ReplyAction ReadArray(std::vector<int> ids, std::string element, Rest rest);
// One row per item of the element's array (at most 16) through the row
// writer; the value formatted as an integer ("%d"), with two decimals
// ("%.2f") or with the precision the text carries ("%.*f").
enum class RowFormat { kInteger, kUnsigned, kTwoDecimals, kPrecision };
ReplyAction AddRows(int listId, std::string element, RowFormat format);
// One row through the row writer with the values `make` gives.
ReplyAction AddRow(int listId, std::function<std::vector<std::string>(const std::string& text)> make);
// A line at the end of a list box.
ReplyAction AppendLine(int listBoxId, std::function<std::string(const std::string& text)> make);
ReplyAction SetIcon(int iconId, IconState state);
ReplyAction SetPosition(int id, int position);  // sliders and progress bars
ReplyAction SetCaption(int id, std::string caption);
// A fixed line in the main log.
ReplyAction LogLine(std::string line);
// A line made from the message; a device's text is never taken as a format.
ReplyAction LogText(std::function<std::string(const std::string& text)> make);

enum class Words { kExact, kIgnoringCase };
struct WordCase {
  std::string word;
  ReplyActions actions;
};
// The actions of the first case whose word is the element's text ("" when
// the element is missing); `otherwise` for any other word.
ReplyAction Switch(std::string element, Words compare, std::vector<WordCase> cases, ReplyActions otherwise = {});
// "fault": the family word and "传感器故障!" or "电源故障" for the "info"
// words "sensor" and "power" (compared as `compare` says); nothing for any
// other.
ReplyAction FaultLog(std::string familyWord, Words compare = Words::kExact);

class KitPage : public DevicePage {
  Q_OBJECT

 public:
  KitPage(const QString& caption, int dialogId, PageDescription description, QWidget* parent = nullptr);

  void OnInitDialog() override;

  // The button with this id as if the user pressed it.
  void Press(int buttonId);

  // Calls a device export with the session, the target node and `args`.
  template <typename Export, typename... Args>
  int Send(Export exportFunction, Args... args) {
    return SendToNode(exportFunction, args...);
  }

  // Reads every control into its value (false: a value was refused);
  // shows every value.
  bool ReadValues() { return UpdateData(true); }
  void ShowAllValues() { UpdateData(false); }

  // The values by control id. The accessor must match the control's kind.
  int& Int(int id);
  std::uint32_t& UInt(int id);
  std::uint64_t& UInt64(int id);
  float& Float(int id);
  double& Double(int id);
  std::string& TextValue(int id);
  bool& Checked(int id);
  PickedDateTime& DateTime(int id);
  const PageValue& Value(int id) const;
  PageValue& MutableValue(int id);
  // The row that describes the control of this id; null when there is none.
  const ControlRow* ControlOf(int id) const;
  // The value set to zero of its kind (an empty text, index -1 stays).
  void ClearValue(int id);
  // The item data of the chosen entry of a combo box; -1 when none.
  long long ChosenData(int comboId) const;

  // Widgets by id (null before the page is shown or for another kind).
  QWidget* Widget(int id) const;
  QTableWidget* ListView(int id) const;
  QListWidget* ListBoxOf(int id) const;
  QSlider* SliderOf(int id) const;
  QProgressBar* ProgressOf(int id) const;

  void Enable(int id, bool enabled);
  void SetCaptionOf(int id, const std::string& caption);
  void SetPositionOf(int id, int position);
  // The row writer (index, time, values) of a list view.
  int AddRowTo(int listId, const std::vector<std::string>& values,
               const std::optional<std::string>& lastText = std::nullopt);
  // A row of plain values, from column 0.
  void InsertRowTo(int listId, const std::vector<std::string>& values);
  void AppendLineTo(int listBoxId, const std::string& line);
  // Every row of a list view or line of a list box removed.
  void ClearRows(int id);

  IconState IconStateOf(int iconId) const;
  void SetIconState(int iconId, IconState state);

  using DevicePage::CheckContinuousSampling;
  using DevicePage::Log;
  using DevicePage::LogFault;
  using DevicePage::LogResult;
  using DevicePage::SessionReady;

 protected:
  void ShowReply(const std::string& text, int nameIndex) override;

 private:
  template <typename T>
  T& ValueOf(int id);
  QWidget* Build(const ControlRow& control, QGridLayout& grid);
  void Bind(const ControlRow& control, QWidget* widget);
  QGridLayout& GridOf(int groupId, QGridLayout& page);
  void Place(QGridLayout& grid, QWidget* widget, const std::string& label, int row, int column, int span, int rows);

  PageDescription m_description;
  std::map<int, PageValue> m_values;
  std::map<int, QWidget*> m_widgets;  // owned by the page, as all its widgets
  std::map<int, QGridLayout*> m_groupGrids;
  std::map<int, IconState> m_iconStates;
  std::map<int, const ControlRow*> m_controlOf;
  std::vector<QButtonGroup*> m_radioGroups;
};
