#include "demo/pages/page_kit.h"

#include <algorithm>
#include <cmath>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "demo/pages/page_kit_sizes.h"
#include "demo/shell/ascii_case.h"
#include "demo/shell/cm_parser.h"

namespace {

constexpr int kIconSide = 32;

const QIcon& ImageOf(IconState state) {
  switch (state) {
    case IconState::kOn:
      return theApp.m_hIconOn;
    case IconState::kOff:
      return theApp.m_hIconOff;
    case IconState::kBusy:
      return theApp.m_hIconBusy;
    case IconState::kTemplate:
    case IconState::kPending:
      break;
  }
  return theApp.m_hIconPending;
}

Qt::Alignment AlignmentOf(Align align) {
  switch (align) {
    case Align::kCenter:
      return Qt::AlignCenter;
    case Align::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Align::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// The widest text an edit shows: the one its row names, else the widest
// value of its kind as the data exchange writes it.
QString WidestText(const ControlRow& control) {
  if (!control.widest.empty()) return QString::fromStdString(control.widest);
  switch (control.value) {
    case ValueKind::kInt:
      return QStringLiteral("-2147483648");
    case ValueKind::kUInt:
      return QStringLiteral("4294967295");
    case ValueKind::kUInt64:
      return QStringLiteral("18446744073709551615");
    case ValueKind::kFloat:
      return QStringLiteral("-1.23457e-38");
    case ValueKind::kDouble:
      return QStringLiteral("-1.23456789012345e-308");
    case ValueKind::kNone:
    case ValueKind::kText:
      break;
  }
  return {};
}

void Name(QWidget* widget, int id) {
  if (id != 0) widget->setObjectName(QString::number(id));
}

// The up and down buttons of an integer edit: a step within the range.
QWidget* SpinButtons(QWidget* parent, QLineEdit* edit, int id, ValueRange range) {
  auto* box = new QWidget(parent);
  Name(box, id);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  const auto step = [edit, range](int by) {
    int value = 0;
    if (!DataExchange::ParseInt(edit->text().toStdString(), value)) value = static_cast<int>(range.minimum);
    const double next = std::clamp(static_cast<double>(value) + by, range.minimum, range.maximum);
    edit->setText(QString::number(static_cast<long long>(next)));
  };
  for (const auto& [arrow, by] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
    auto* button = new QToolButton(box);
    button->setArrowType(arrow);
    button->setFixedSize(16, 11);
    QObject::connect(button, &QToolButton::clicked, box, [step, by = by] { step(by); });
    layout->addWidget(button);
  }
  return box;
}

}  // namespace

KitPage::KitPage(const QString& caption, int dialogId, PageDescription description, QWidget* parent)
    : DevicePage(caption, dialogId, parent), m_description(std::move(description)) {
  m_replyRules.nodeFilter = m_description.nodeFilter;
  // The kit matches the names itself: a rule may have several or any.
  m_replyRules.matchNames = false;
  for (const ControlRow& control : m_description.controls) {
    if (control.id == 0) continue;
    if (!std::holds_alternative<std::monostate>(control.initial)) m_values[control.id] = control.initial;
    m_controlOf[control.id] = &control;
  }
}

template <typename T>
T& KitPage::ValueOf(int id) {
  return std::get<T>(m_values.at(id));
}

int& KitPage::Int(int id) { return ValueOf<int>(id); }
std::uint32_t& KitPage::UInt(int id) { return ValueOf<std::uint32_t>(id); }
std::uint64_t& KitPage::UInt64(int id) { return ValueOf<std::uint64_t>(id); }
float& KitPage::Float(int id) { return ValueOf<float>(id); }
double& KitPage::Double(int id) { return ValueOf<double>(id); }
std::string& KitPage::TextValue(int id) { return ValueOf<std::string>(id); }
bool& KitPage::Checked(int id) { return ValueOf<bool>(id); }
PickedDateTime& KitPage::DateTime(int id) { return ValueOf<PickedDateTime>(id); }
const PageValue& KitPage::Value(int id) const { return m_values.at(id); }
PageValue& KitPage::MutableValue(int id) { return m_values.at(id); }

void KitPage::ClearValue(int id) {
  std::visit(
      [](auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::string>) {
          value.clear();
        } else if constexpr (std::is_arithmetic_v<T>) {
          value = T{};
        }
      },
      MutableValue(id));
}

const ControlRow* KitPage::ControlOf(int id) const {
  const auto found = m_controlOf.find(id);
  return found != m_controlOf.end() ? found->second : nullptr;
}

long long KitPage::ChosenData(int comboId) const {
  const auto control = m_controlOf.find(comboId);
  if (control == m_controlOf.end()) return -1;
  const int index = std::get<int>(m_values.at(comboId));
  const std::vector<ComboItem>& items = control->second->items;
  return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)].data
                                                                       : -1;
}

QWidget* KitPage::Widget(int id) const {
  const auto found = m_widgets.find(id);
  return found != m_widgets.end() ? found->second : nullptr;
}

QTableWidget* KitPage::ListView(int id) const { return qobject_cast<QTableWidget*>(Widget(id)); }
QListWidget* KitPage::ListBoxOf(int id) const { return qobject_cast<QListWidget*>(Widget(id)); }
QSlider* KitPage::SliderOf(int id) const { return qobject_cast<QSlider*>(Widget(id)); }
QProgressBar* KitPage::ProgressOf(int id) const { return qobject_cast<QProgressBar*>(Widget(id)); }

void KitPage::Enable(int id, bool enabled) {
  if (QWidget* widget = Widget(id)) widget->setEnabled(enabled);
}

void KitPage::SetCaptionOf(int id, const std::string& caption) {
  const QString text = QString::fromStdString(caption);
  QWidget* widget = Widget(id);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(text);
  }
}

void KitPage::SetPositionOf(int id, int position) {
  const auto value = m_values.find(id);
  if (value != m_values.end() && std::holds_alternative<int>(value->second)) value->second = position;
  if (QSlider* slider = SliderOf(id)) slider->setValue(position);
  if (QProgressBar* bar = ProgressOf(id)) bar->setValue(position);
}

int KitPage::AddRowTo(int listId, const std::vector<std::string>& values, const std::optional<std::string>& lastText) {
  QTableWidget* list = ListView(listId);
  if (list == nullptr) return 0;
  const int result = AddRow(*list, values, lastText);
  const int row = list->rowCount() - 1;
  const auto control = m_controlOf.find(listId);
  for (int column = 0; control != m_controlOf.end() && column < list->columnCount(); ++column) {
    QTableWidgetItem* item = list->item(row, column);
    const auto& columns = control->second->columns;
    if (item != nullptr && static_cast<std::size_t>(column) < columns.size())
      item->setTextAlignment(AlignmentOf(columns[static_cast<std::size_t>(column)].align));
  }
  return result;
}

void KitPage::InsertRowTo(int listId, const std::vector<std::string>& values) {
  QTableWidget* list = ListView(listId);
  if (list == nullptr) return;
  const int row = list->rowCount();
  list->insertRow(row);
  const auto control = m_controlOf.find(listId);
  for (int column = 0; column < list->columnCount() && static_cast<std::size_t>(column) < values.size(); ++column) {
    // The list owns its items.
    auto* item = new QTableWidgetItem(QString::fromStdString(values[static_cast<std::size_t>(column)]));
    const auto& columns = control->second->columns;
    if (static_cast<std::size_t>(column) < columns.size())
      item->setTextAlignment(AlignmentOf(columns[static_cast<std::size_t>(column)].align));
    list->setItem(row, column, item);
  }
}

void KitPage::AppendLineTo(int listBoxId, const std::string& line) {
  if (QListWidget* list = ListBoxOf(listBoxId)) list->addItem(QString::fromStdString(line));
}

void KitPage::ClearRows(int id) {
  if (QTableWidget* list = ListView(id)) list->setRowCount(0);
  if (QListWidget* list = ListBoxOf(id)) list->clear();
}

IconState KitPage::IconStateOf(int iconId) const {
  const auto found = m_iconStates.find(iconId);
  return found != m_iconStates.end() ? found->second : IconState::kTemplate;
}

void KitPage::SetIconState(int iconId, IconState state) {
  auto* icon = qobject_cast<QLabel*>(Widget(iconId));
  if (icon == nullptr) return;
  SetStateIcon(icon, ImageOf(state));
  m_iconStates[iconId] = state;
}

void KitPage::Place(QGridLayout& grid, QWidget* widget, const std::string& label, int row, int column, int span,
                    int rows) {
  if (label.empty()) {
    grid.addWidget(widget, row, column, rows, span);
    return;
  }
  auto* text = new QLabel(QString::fromStdString(label), this);
  text->setBuddy(widget);
  grid.addWidget(text, row, column);
  grid.addWidget(widget, row, column + 1, rows, span);
}

QGridLayout& KitPage::GridOf(int groupId, QGridLayout& page) {
  const auto found = m_groupGrids.find(groupId);
  return found != m_groupGrids.end() ? *found->second : page;
}

QWidget* KitPage::Build(const ControlRow& control, QGridLayout& grid) {
  QWidget* widget = nullptr;
  std::string label = control.text;
  switch (control.kind) {
    case ControlKind::kText:
      widget = new QLabel(QString::fromStdString(control.text), this);
      label.clear();
      break;
    case ControlKind::kIcon: {
      auto* icon = new QLabel(this);
      icon->setFixedSize(kIconSide, kIconSide);
      widget = icon;
      break;
    }
    case ControlKind::kSlider: {
      auto* slider = new QSlider(Qt::Horizontal, this);
      slider->setRange(control.minimum, control.maximum);
      slider->setTickPosition(QSlider::TicksBelow);
      // A display: replies move it, the user does not.
      slider->setFocusPolicy(Qt::NoFocus);
      slider->setAttribute(Qt::WA_TransparentForMouseEvents);
      widget = slider;
      break;
    }
    case ControlKind::kProgress: {
      auto* bar = new QProgressBar(this);
      bar->setRange(control.minimum, control.maximum);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(this);
      edit->setReadOnly(control.readOnly);
      edit->setEnabled(!control.disabled);
      kitsizes::FitWidthTo(*edit, WidestText(control));
      if (control.spinId == 0) {
        widget = edit;
        break;
      }
      // The edit and its spin buttons in one cell.
      auto* cell = new QWidget(this);
      auto* row = new QHBoxLayout(cell);
      row->setContentsMargins(0, 0, 0, 0);
      row->setSpacing(1);
      row->addWidget(edit);
      QWidget* spin = SpinButtons(cell, edit, control.spinId, control.spinRange);
      row->addWidget(spin);
      m_widgets[control.spinId] = spin;
      Name(edit, control.id);
      m_widgets[control.id] = edit;
      Place(grid, cell, label, control.row, control.column, control.columnSpan, control.rowSpan);
      return edit;
    }
    case ControlKind::kCheck: {
      auto* box = new QCheckBox(QString::fromStdString(control.text), this);
      label.clear();
      if (control.changed) connect(box, &QCheckBox::clicked, this, [this, &control] { control.changed(*this); });
      widget = box;
      break;
    }
    case ControlKind::kList: {
      auto* list = new QTableWidget(this);
      list->setColumnCount(static_cast<int>(control.columns.size()));
      QStringList headings;
      for (const ListColumn& column : control.columns) headings << QString::fromUtf8(column.heading);
      list->setHorizontalHeaderLabels(headings);
      for (std::size_t i = 0; i < control.columns.size(); ++i) {
        const int column = static_cast<int>(i);
        list->setColumnWidth(column, control.columns[i].width);
        list->horizontalHeaderItem(column)->setTextAlignment(AlignmentOf(control.columns[i].align));
      }
      list->verticalHeader()->setVisible(false);
      list->setSelectionBehavior(QAbstractItemView::SelectRows);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setEditTriggers(QAbstractItemView::NoEditTriggers);
      kitsizes::GiveRoom(*list);
      widget = list;
      break;
    }
    case ControlKind::kListBox: {
      auto* list = new QListWidget(this);
      kitsizes::GiveRoom(*list);
      widget = list;
      break;
    }
    case ControlKind::kCombo: {
      auto* combo = new QComboBox(this);
      for (const ComboItem& item : control.items)
        combo->addItem(QString::fromStdString(item.text), QVariant::fromValue(item.data));
      if (control.changed)
        connect(combo, &QComboBox::activated, this, [this, &control] { control.changed(*this); });
      widget = combo;
      break;
    }
    case ControlKind::kRadio: {
      auto* group = new QButtonGroup(this);
      m_radioGroups.push_back(group);
      for (std::size_t i = 0; i < control.radioIds.size(); ++i) {
        const std::string caption = i < control.radioCaptions.size() ? control.radioCaptions[i] : std::string();
        auto* button = new QRadioButton(QString::fromStdString(caption), this);
        Name(button, control.radioIds[i]);
        m_widgets[control.radioIds[i]] = button;
        group->addButton(button);
        if (control.changed)
          connect(button, &QRadioButton::clicked, this, [this, &control] { control.changed(*this); });
        button->setEnabled(!control.disabled);
        grid.addWidget(button, control.row, control.column + static_cast<int>(i));
      }
      return nullptr;
    }
    case ControlKind::kDate: {
      auto* picker = new QDateEdit(this);
      picker->setCalendarPopup(true);
      picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
      widget = picker;
      break;
    }
    case ControlKind::kTime: {
      auto* picker = new QTimeEdit(this);
      picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
      widget = picker;
      break;
    }
    case ControlKind::kGroup: {
      auto* box = new QGroupBox(QString::fromStdString(control.text), this);
      m_groupGrids[control.id] = new QGridLayout(box);
      label.clear();
      widget = box;
      break;
    }
  }
  Name(widget, control.id);
  if (control.id != 0) m_widgets[control.id] = widget;
  widget->setEnabled(!control.disabled);
  Place(grid, widget, label, control.row, control.column, control.columnSpan, control.rowSpan);
  return widget;
}

void KitPage::Bind(const ControlRow& control, QWidget* widget) {
  if (control.kind == ControlKind::kRadio) {
    m_dataExchange.Bind(m_radioGroups.back(), Int(control.id));
    return;
  }
  if (widget == nullptr || m_values.find(control.id) == m_values.end()) return;
  PageValue& value = MutableValue(control.id);
  switch (control.kind) {
    case ControlKind::kEdit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      std::visit(
          [&](auto& member) {
            using T = std::decay_t<decltype(member)>;
            if constexpr (std::is_same_v<T, std::string>) {
              m_dataExchange.Bind(edit, member, control.maxLength);
            } else if constexpr (std::is_same_v<T, int> || std::is_same_v<T, std::uint32_t> ||
                                 std::is_same_v<T, std::uint64_t> || std::is_same_v<T, float> ||
                                 std::is_same_v<T, double>) {
              m_dataExchange.Bind(edit, member, control.range);
            }
          },
          value);
      break;
    }
    case ControlKind::kText:
      if (auto* text = std::get_if<std::string>(&value)) m_dataExchange.Bind(static_cast<QLabel*>(widget), *text);
      break;
    case ControlKind::kCheck:
      m_dataExchange.Bind(static_cast<QCheckBox*>(widget), std::get<bool>(value));
      break;
    case ControlKind::kCombo:
      m_dataExchange.Bind(static_cast<QComboBox*>(widget), std::get<int>(value));
      break;
    case ControlKind::kListBox:
      m_dataExchange.Bind(static_cast<QListWidget*>(widget), std::get<int>(value));
      break;
    case ControlKind::kSlider:
      m_dataExchange.Bind(static_cast<QSlider*>(widget), std::get<int>(value));
      break;
    case ControlKind::kProgress:
      m_dataExchange.Bind(static_cast<QProgressBar*>(widget), std::get<int>(value));
      break;
    case ControlKind::kDate:
      m_dataExchange.BindDate(static_cast<QDateTimeEdit*>(widget), std::get<PickedDateTime>(value));
      break;
    case ControlKind::kTime:
      m_dataExchange.BindTime(static_cast<QDateTimeEdit*>(widget), std::get<PickedDateTime>(value));
      break;
    case ControlKind::kIcon:
    case ControlKind::kList:
    case ControlKind::kRadio:
    case ControlKind::kGroup:
      break;
  }
}

void KitPage::OnInitDialog() {
  // Widgets and layouts belong to the page.
  auto* grid = new QGridLayout;
  int columns = 0;
  // Group boxes first, so that their controls find their grids.
  for (const ControlRow& control : m_description.controls) {
    if (control.kind == ControlKind::kGroup) Build(control, GridOf(control.group, *grid));
  }
  for (const ControlRow& control : m_description.controls) {
    if (control.group == 0) columns = std::max(columns, control.column + control.columnSpan + 1);
    if (control.kind == ControlKind::kGroup) continue;
    Bind(control, Build(control, GridOf(control.group, *grid)));
  }
  for (const ButtonRow& row : m_description.buttons) {
    auto* button = new QPushButton(QString::fromStdString(row.caption), this);
    Name(button, row.id);
    m_widgets[row.id] = button;
    button->setEnabled(!row.disabled);
    kitsizes::FitToCaption(*button);
    const int id = row.id;
    connect(button, &QPushButton::clicked, this, [this, id] { Press(id); });
    GridOf(row.group, *grid).addWidget(button, row.row, row.column, 1, row.columnSpan);
    if (row.group == 0) columns = std::max(columns, row.column + row.columnSpan);
  }
  grid->setColumnStretch(columns, 1);
  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addStretch(1);
  for (const ControlRow& control : m_description.controls) {
    if (control.kind == ControlKind::kIcon) SetIconState(control.id, IconState::kTemplate);
  }
  UpdateData(false);
  if (m_description.onInit) m_description.onInit(*this);
}

void KitPage::Press(int buttonId) {
  const auto row = std::find_if(m_description.buttons.begin(), m_description.buttons.end(),
                                [buttonId](const ButtonRow& button) { return button.id == buttonId; });
  if (row == m_description.buttons.end() || !row->handled) return;
  // A button the page disabled cannot be pressed.
  const QWidget* button = Widget(buttonId);
  if (button != nullptr ? !button->isEnabled() : row->disabled) return;
  if (row->before) row->before(*this);
  if (row->read == ReadPage::kBeforeCheck && !UpdateData(true)) return;
  if (row->checksSession && !SessionReady()) return;
  if (row->read == ReadPage::kAfterCheck && !UpdateData(true)) return;
  if (row->guard && !row->guard(*this)) return;
  if (!row->call) {
    if (row->after) row->after(*this, 0);
    return;
  }
  const int result = row->call(*this);
  if (row->report == CommandReport::kPendingIcon) {
    SetIconState(row->iconId, IconState::kPending);
  } else {
    CommandReport report;
    report.mode = row->report;
    report.text = row->text;
    report.detail = row->detail;
    Report(report, result);
  }
  if (row->after) row->after(*this, result);
}

void KitPage::ShowReply(const std::string& text, int) {
  if (m_description.pendingIconForEveryText != 0)
    SetIconState(m_description.pendingIconForEveryText, IconState::kPending);
  const std::string name = CCMParser::GetMessage(text).value_or(std::string());
  for (const ReplyRule& rule : m_description.replies) {
    const bool matches =
        rule.names.empty() || std::any_of(rule.names.begin(), rule.names.end(), [&name](const std::string& known) {
          return EqualsIgnoringCase(name, known);
        });
    if (!matches) continue;
    for (const ReplyAction& action : rule.actions) action(*this, text);
    return;
  }
}
