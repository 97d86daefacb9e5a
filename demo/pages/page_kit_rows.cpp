// The rows of page descriptions: controls, buttons and the common steps of
// command handlers.
#include <utility>

#include "demo/pages/page_kit.h"
#include "demo/shell/ui_services.h"

ControlRow& ControlRow::At(int atRow, int atColumn, int span, int rows) {
  row = atRow;
  column = atColumn;
  columnSpan = span;
  rowSpan = rows;
  return *this;
}

ControlRow& ControlRow::In(int groupId) {
  group = groupId;
  return *this;
}

ControlRow& ControlRow::Initial(PageValue value) {
  initial = std::move(value);
  return *this;
}

ControlRow& ControlRow::ReadOnly() {
  readOnly = true;
  return *this;
}

ControlRow& ControlRow::Disabled() {
  disabled = true;
  return *this;
}

ControlRow& ControlRow::Range(double least, double greatest) {
  range = ValueRange{least, greatest};
  return *this;
}

ControlRow& ControlRow::MaxLength(std::size_t characters) {
  maxLength = characters;
  return *this;
}

ControlRow& ControlRow::Widest(std::string text) {
  widest = std::move(text);
  return *this;
}

ControlRow& ControlRow::Spin(int id, double least, double greatest) {
  spinId = id;
  spinRange = ValueRange{least, greatest};
  return *this;
}

ControlRow& ControlRow::OnChange(std::function<void(KitPage&)> call) {
  changed = std::move(call);
  return *this;
}

namespace {

ControlRow Row(ControlKind kind, int id, std::string text) {
  ControlRow row;
  row.kind = kind;
  row.id = id;
  row.text = std::move(text);
  return row;
}

// The value a control of this kind starts with.
PageValue ZeroOf(ValueKind kind) {
  switch (kind) {
    case ValueKind::kInt:
      return 0;
    case ValueKind::kUInt:
      return std::uint32_t{0};
    case ValueKind::kUInt64:
      return std::uint64_t{0};
    case ValueKind::kFloat:
      return 0.0f;
    case ValueKind::kDouble:
      return 0.0;
    case ValueKind::kText:
      return std::string();
    case ValueKind::kNone:
      break;
  }
  return std::monostate{};
}

}  // namespace

ControlRow Text(std::string caption) { return Row(ControlKind::kText, 0, std::move(caption)); }

ControlRow Label(int id, std::string caption) {
  ControlRow row = Row(ControlKind::kText, id, {});
  row.value = ValueKind::kText;
  row.initial = std::move(caption);
  return row;
}

ControlRow Icon(int id, std::string label) { return Row(ControlKind::kIcon, id, std::move(label)); }

ControlRow Slider(int id, int minimum, int maximum, int position) {
  ControlRow row = Row(ControlKind::kSlider, id, {});
  row.minimum = minimum;
  row.maximum = maximum;
  row.initial = position;
  return row;
}

ControlRow Progress(int id, int minimum, int maximum, int position) {
  ControlRow row = Row(ControlKind::kProgress, id, {});
  row.minimum = minimum;
  row.maximum = maximum;
  row.initial = position;
  return row;
}

ControlRow Edit(int id, std::string label, ValueKind kind) {
  ControlRow row = Row(ControlKind::kEdit, id, std::move(label));
  row.value = kind;
  row.initial = ZeroOf(kind);
  return row;
}

ControlRow Check(int id, std::string caption, bool checked) {
  ControlRow row = Row(ControlKind::kCheck, id, std::move(caption));
  row.initial = checked;
  return row;
}

ControlRow List(int id, std::vector<ListColumn> columns) {
  ControlRow row = Row(ControlKind::kList, id, {});
  row.columns = std::move(columns);
  return row;
}

ControlRow ListBox(int id, std::string label) {
  ControlRow row = Row(ControlKind::kListBox, id, std::move(label));
  row.initial = -1;
  return row;
}

ControlRow Combo(int id, std::string label, std::vector<ComboItem> items, int chosen) {
  ControlRow row = Row(ControlKind::kCombo, id, std::move(label));
  row.items = std::move(items);
  row.initial = chosen;
  return row;
}

ControlRow Radio(std::vector<int> ids, std::vector<std::string> captions, int chosen) {
  ControlRow row = Row(ControlKind::kRadio, ids.empty() ? 0 : ids.front(), {});
  row.radioIds = std::move(ids);
  row.radioCaptions = std::move(captions);
  row.initial = chosen;
  return row;
}

ControlRow DatePicker(int id) {
  ControlRow row = Row(ControlKind::kDate, id, {});
  row.initial = PickedDateTime{};
  return row;
}

ControlRow TimePicker(int id) {
  ControlRow row = Row(ControlKind::kTime, id, {});
  row.initial = PickedDateTime{};
  return row;
}

ControlRow Group(int id, std::string caption) { return Row(ControlKind::kGroup, id, std::move(caption)); }

std::vector<ComboItem> NumberItems(int from, int to) {
  std::vector<ComboItem> items;
  for (int n = from; n <= to; ++n) items.push_back(ComboItem{std::to_string(n), n});
  return items;
}

ButtonRow& ButtonRow::At(int atRow, int atColumn, int span) {
  row = atRow;
  column = atColumn;
  columnSpan = span;
  return *this;
}

ButtonRow& ButtonRow::In(int groupId) {
  group = groupId;
  return *this;
}

ButtonRow& ButtonRow::Disabled() {
  disabled = true;
  return *this;
}

ButtonRow& ButtonRow::NoHandler() {
  handled = false;
  return *this;
}

ButtonRow& ButtonRow::NoSessionCheck() {
  checksSession = false;
  return *this;
}

ButtonRow& ButtonRow::Before(KitStep step) {
  before = std::move(step);
  return *this;
}

ButtonRow& ButtonRow::Reads(ReadPage when) {
  read = when;
  return *this;
}

ButtonRow& ButtonRow::Guard(KitGuard check) {
  guard = std::move(check);
  return *this;
}

ButtonRow& ButtonRow::Calls(KitCall exportCall) {
  call = std::move(exportCall);
  return *this;
}

ButtonRow& ButtonRow::PendingIcon(int icon) {
  report = CommandReport::kPendingIcon;
  iconId = icon;
  return *this;
}

ButtonRow& ButtonRow::ErrorLine(std::string line) {
  report = CommandReport::kErrorLine;
  text = std::move(line);
  return *this;
}

ButtonRow& ButtonRow::ResultLog(std::string name, std::string operation) {
  report = CommandReport::kResultLog;
  text = std::move(name);
  detail = std::move(operation);
  return *this;
}

ButtonRow& ButtonRow::After(KitAfter step) {
  after = std::move(step);
  return *this;
}

ButtonRow Button(int id, std::string caption) {
  ButtonRow button;
  button.id = id;
  button.caption = std::move(caption);
  return button;
}

KitStep ClearValues(std::vector<int> ids) {
  return [ids = std::move(ids)](KitPage& page) {
    for (int id : ids) page.ClearValue(id);
  };
}

KitStep ShowValues() {
  return [](KitPage& page) { page.ShowAllValues(); };
}

KitStep ClearAndShow(std::vector<int> ids) {
  return [clear = ClearValues(std::move(ids))](KitPage& page) {
    clear(page);
    page.ShowAllValues();
  };
}

KitStep ClearList(int listId) {
  return [listId](KitPage& page) { page.ClearRows(listId); };
}

KitGuard CheckSampling(int periodId, int countId) {
  return [periodId, countId](KitPage& page) {
    return page.CheckContinuousSampling(page.Int(periodId), page.Int(countId));
  };
}

KitGuard RequireNonZero(int id, std::string message) {
  return [id, message = std::move(message)](KitPage& page) {
    const PageValue& value = page.Value(id);
    const bool zero = std::visit(
        [](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_arithmetic_v<T>) return v == T{};
          return false;
        },
        value);
    if (!zero) return true;
    ShowMessage(&page, message);
    return false;
  };
}

KitAfter SetIconAfter(int iconId, IconState state) {
  return [iconId, state](KitPage& page, int) { page.SetIconState(iconId, state); };
}
