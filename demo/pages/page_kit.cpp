#include "demo/pages/page_kit.h"

#include <algorithm>

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "demo/shell/cm_parser.h"

namespace {

constexpr int kIconSide = 32;

std::string ElementWord(const std::string& text, const char* element) {
  return CCMParser::GetDataElementValueString(text, element).value_or(std::string());
}

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

}  // namespace

ReplyAction IconMap(int iconId, const char* element, std::vector<std::pair<const char*, IconState>> words,
                    std::optional<IconState> otherwise) {
  return [iconId, element, words = std::move(words), otherwise](KitPage& page, const std::string& text) {
    const std::string word = ElementWord(text, element);
    for (const auto& [known, state] : words) {
      if (word == known) {
        page.SetIconState(iconId, state);
        return;
      }
    }
    if (otherwise) page.SetIconState(iconId, *otherwise);
  };
}

ReplyAction SliderMap(int sliderId, const char* element, std::vector<std::pair<const char*, int>> words) {
  return [sliderId, element, words = std::move(words)](KitPage& page, const std::string& text) {
    const std::string word = ElementWord(text, element);
    QSlider* slider = page.Slider(sliderId);
    if (slider == nullptr) return;
    for (const auto& [known, position] : words) {
      if (word == known) {
        slider->setValue(position);
        return;
      }
    }
  };
}

ReplyAction FaultLog(const char* familyWord) {
  return [familyWord](KitPage& page, const std::string& text) { page.LogFault(text, familyWord); };
}

KitPage::KitPage(const QString& caption, int dialogId, PageDescription description, QWidget* parent)
    : DevicePage(caption, dialogId, parent), m_description(std::move(description)) {
  m_replyRules.nodeFilter = m_description.nodeFilter;
  for (const ReplyRule& rule : m_description.replies) m_replyRules.names.emplace_back(rule.name);
}

void KitPage::OnInitDialog() {
  // Widgets and layouts belong to the page.
  auto* grid = new QGridLayout;
  int columns = 0;
  for (const ControlRow& control : m_description.controls) {
    QWidget* widget = nullptr;
    switch (control.kind) {
      case ControlKind::kText:
        widget = new QLabel(QString::fromUtf8(control.text), this);
        break;
      case ControlKind::kIcon: {
        auto* icon = new QLabel(this);
        icon->setFixedSize(kIconSide, kIconSide);
        m_icons[control.id] = icon;
        widget = icon;
        break;
      }
      case ControlKind::kSlider: {
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setRange(control.minimum, control.maximum);
        slider->setValue(control.position);
        slider->setTickPosition(QSlider::TicksBelow);
        // A display: replies move it, the user does not.
        slider->setFocusPolicy(Qt::NoFocus);
        slider->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_sliders[control.id] = slider;
        widget = slider;
        break;
      }
    }
    if (control.id != 0) widget->setObjectName(QString::number(control.id));
    grid->addWidget(widget, control.row, control.column, 1, control.columnSpan);
    columns = std::max(columns, control.column + control.columnSpan);
  }
  for (const auto& [id, icon] : m_icons) SetIconState(id, IconState::kTemplate);
  for (const ButtonRow& row : m_description.buttons) {
    auto* button = new QPushButton(QString::fromUtf8(row.caption), this);
    button->setObjectName(QString::number(row.id));
    const int id = row.id;
    connect(button, &QPushButton::clicked, this, [this, id] { Press(id); });
    grid->addWidget(button, row.row, row.column);
    columns = std::max(columns, row.column + 1);
  }
  grid->setColumnStretch(columns, 1);
  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addStretch(1);
}

void KitPage::Press(int buttonId) {
  const auto row = std::find_if(m_description.buttons.begin(), m_description.buttons.end(),
                                [buttonId](const ButtonRow& button) { return button.id == buttonId; });
  if (row == m_description.buttons.end() || row->call == nullptr) return;
  if (!SessionReady()) return;
  const int result = row->call(*this);
  if (row->report == CommandReport::kPendingIcon) {
    SetIconState(row->iconId, IconState::kPending);
    return;
  }
  CommandReport report;
  report.mode = row->report;
  report.text = row->text;
  report.detail = row->detail;
  Report(report, result);
}

IconState KitPage::IconStateOf(int iconId) const {
  const auto found = m_iconStates.find(iconId);
  return found != m_iconStates.end() ? found->second : IconState::kTemplate;
}

void KitPage::SetIconState(int iconId, IconState state) {
  const auto found = m_icons.find(iconId);
  if (found == m_icons.end()) return;
  SetStateIcon(found->second, ImageOf(state));
  m_iconStates[iconId] = state;
}

QSlider* KitPage::Slider(int sliderId) const {
  const auto found = m_sliders.find(sliderId);
  return found != m_sliders.end() ? found->second : nullptr;
}

void KitPage::ShowReply(const std::string& text, int nameIndex) {
  if (nameIndex < 0 || static_cast<std::size_t>(nameIndex) >= m_description.replies.size()) return;
  const ReplyRule& rule = m_description.replies[static_cast<std::size_t>(nameIndex)];
  for (const ReplyAction& action : rule.actions) action(*this, text);
}
