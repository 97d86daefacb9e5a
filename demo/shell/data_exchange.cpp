#include "demo/shell/data_exchange.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

#include "demo/shell/text_format.h"
#include "demo/shell/ui_services.h"

namespace {

// The framework's own texts for a field that does not hold a number, or
// holds one outside its range, or too long a text.
constexpr const char* kNotAnInteger = "请输入一个整数。";
constexpr const char* kNotAPositiveInteger = "请输入一个正整数。";
constexpr const char* kNotANumber = "请输入一个数字。";

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string TextOf(const QLineEdit* edit) { return edit->text().toStdString(); }

bool Refuse(QWidget* parent, QLineEdit* edit, const std::string& message) {
  ShowMessage(parent, message);
  edit->setFocus();
  edit->selectAll();
  return false;
}

bool InRange(double value, const std::optional<ValueRange>& range) {
  return !range || (value >= range->minimum && value <= range->maximum);
}

// Reads an integer edit of type T through `parse`; refuses with the parse
// message, or with the range message outside the range.
template <typename T, typename Parse>
std::pair<std::function<bool(QWidget*)>, std::function<void()>> IntegerBinding(QLineEdit* edit, T& value,
                                                                               std::optional<ValueRange> range,
                                                                               Parse parse, const char* parseMessage) {
  return {[edit, &value, range, parse, parseMessage](QWidget* parent) {
            T parsed{};
            if (!parse(TextOf(edit), parsed)) return Refuse(parent, edit, parseMessage);
            if (!InRange(static_cast<double>(parsed), range))
              return Refuse(parent, edit, DataExchange::IntegerRangeMessage(*range));
            value = parsed;
            return true;
          },
          [edit, &value] { edit->setText(QString::number(value)); }};
}

}  // namespace

bool DataExchange::ParseInt(const std::string& text, int& value) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(trimmed.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  if (parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max()) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool DataExchange::ParseUInt(const std::string& text, std::uint32_t& value) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty() || trimmed[0] == '-') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(trimmed.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed > std::numeric_limits<std::uint32_t>::max()) return false;
  value = static_cast<std::uint32_t>(parsed);
  return true;
}

bool DataExchange::ParseUInt64(const std::string& text, std::uint64_t& value) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty() || trimmed[0] == '-') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(trimmed.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  value = parsed;
  return true;
}

bool DataExchange::ParseReal(const std::string& text, double& value) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(trimmed.c_str(), &end);
  if (errno == ERANGE || *end != '\0' || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

std::string DataExchange::IntegerRangeMessage(const ValueRange& range) {
  return Format("请输入一个介于 %.0f 和 %.0f 之间的整数。", range.minimum, range.maximum);
}

std::string DataExchange::RealRangeMessage(const ValueRange& range) {
  return Format("请输入一个介于 %g 和 %g 之间的数字。", range.minimum, range.maximum);
}

std::string DataExchange::LengthMessage(std::size_t maxLength) {
  return Format("请输入不超过 %zu 个字符。", maxLength);
}

void DataExchange::Bind(QLineEdit* edit, int& value, std::optional<ValueRange> range) {
  auto [save, load] = IntegerBinding(edit, value, range, &ParseInt, kNotAnInteger);
  m_bindings.push_back(Binding{{edit}, std::move(save), std::move(load)});
}

void DataExchange::Bind(QLineEdit* edit, std::uint32_t& value, std::optional<ValueRange> range) {
  auto [save, load] = IntegerBinding(edit, value, range, &ParseUInt, kNotAPositiveInteger);
  m_bindings.push_back(Binding{{edit}, std::move(save), std::move(load)});
}

void DataExchange::Bind(QLineEdit* edit, std::uint64_t& value, std::optional<ValueRange> range) {
  auto [save, load] = IntegerBinding(edit, value, range, &ParseUInt64, kNotAPositiveInteger);
  m_bindings.push_back(Binding{{edit}, std::move(save), std::move(load)});
}

void DataExchange::Bind(QLineEdit* edit, float& value, std::optional<ValueRange> range) {
  m_bindings.push_back(Binding{{edit}, 
      [edit, &value, range](QWidget* parent) {
        double parsed = 0;
        if (!ParseReal(TextOf(edit), parsed) || parsed > std::numeric_limits<float>::max() ||
            parsed < -std::numeric_limits<float>::max())
          return Refuse(parent, edit, kNotANumber);
        if (!InRange(parsed, range)) return Refuse(parent, edit, RealRangeMessage(*range));
        value = static_cast<float>(parsed);
        return true;
      },
      [edit, &value] { edit->setText(QString::number(static_cast<double>(value), 'g', 6)); }});
}

void DataExchange::Bind(QLineEdit* edit, double& value, std::optional<ValueRange> range) {
  m_bindings.push_back(Binding{{edit}, 
      [edit, &value, range](QWidget* parent) {
        double parsed = 0;
        if (!ParseReal(TextOf(edit), parsed)) return Refuse(parent, edit, kNotANumber);
        if (!InRange(parsed, range)) return Refuse(parent, edit, RealRangeMessage(*range));
        value = parsed;
        return true;
      },
      [edit, &value] { edit->setText(QString::number(value, 'g', 15)); }});
}

void DataExchange::Bind(QLineEdit* edit, std::string& value, std::size_t maxLength) {
  m_bindings.push_back(Binding{{edit}, [edit, &value, maxLength](QWidget* parent) {
                                 const QString text = edit->text();
                                 if (maxLength != 0 && static_cast<std::size_t>(text.toUcs4().size()) > maxLength)
                                   return Refuse(parent, edit, LengthMessage(maxLength));
                                 value = text.toStdString();
                                 return true;
                               },
                               [edit, &value] { edit->setText(QString::fromStdString(value)); }});
}

void DataExchange::Bind(QCheckBox* box, bool& value) {
  m_bindings.push_back(Binding{{box}, [box, &value](QWidget*) {
                                 value = box->isChecked();
                                 return true;
                               },
                               [box, &value] { box->setChecked(value); }});
}

void DataExchange::Bind(QLabel* label, std::string& text) {
  m_bindings.push_back(Binding{{label}, [](QWidget*) { return true; },
                               [label, &text] { label->setText(QString::fromStdString(text)); }});
}

void DataExchange::Bind(QComboBox* combo, int& index) {
  m_bindings.push_back(Binding{{combo}, [combo, &index](QWidget*) {
                                 index = combo->currentIndex();
                                 return true;
                               },
                               [combo, &index] { combo->setCurrentIndex(index < combo->count() ? index : -1); }});
}

void DataExchange::Bind(QListWidget* list, int& index) {
  m_bindings.push_back(Binding{{list}, [list, &index](QWidget*) {
                                 index = list->currentRow();
                                 return true;
                               },
                               [list, &index] { list->setCurrentRow(index < list->count() ? index : -1); }});
}

void DataExchange::Bind(QButtonGroup* group, int& index) {
  std::vector<QPointer<QWidget>> buttons;
  for (QAbstractButton* button : group->buttons()) buttons.emplace_back(button);
  m_bindings.push_back(Binding{std::move(buttons), [group, &index](QWidget*) {
                                 index = group->buttons().indexOf(group->checkedButton());
                                 return true;
                               },
                               [group, &index] {
                                 const QList<QAbstractButton*> buttons = group->buttons();
                                 if (index >= 0 && index < buttons.size()) {
                                   buttons[index]->setChecked(true);
                                   return;
                                 }
                                 // No button checked: an exclusive group keeps one, so lift it for a moment.
                                 const bool exclusive = group->exclusive();
                                 group->setExclusive(false);
                                 for (QAbstractButton* button : buttons) button->setChecked(false);
                                 group->setExclusive(exclusive);
                               }});
}

void DataExchange::BindDate(QDateTimeEdit* picker, PickedDateTime& value) {
  m_bindings.push_back(Binding{{picker}, [picker, &value](QWidget*) {
                                 const QDate date = picker->date();
                                 value.year = date.year();
                                 value.month = date.month();
                                 value.day = date.day();
                                 return true;
                               },
                               [picker, &value] { picker->setDate(QDate(value.year, value.month, value.day)); }});
}

void DataExchange::BindTime(QDateTimeEdit* picker, PickedDateTime& value) {
  m_bindings.push_back(Binding{{picker}, [picker, &value](QWidget*) {
                                 const QTime time = picker->time();
                                 value.hour = time.hour();
                                 value.minute = time.minute();
                                 value.second = time.second();
                                 return true;
                               },
                               [picker, &value] { picker->setTime(QTime(value.hour, value.minute, value.second)); }});
}

void DataExchange::Bind(QAbstractSlider* slider, int& position) {
  m_bindings.push_back(Binding{{slider}, [slider, &position](QWidget*) {
                                 position = slider->value();
                                 return true;
                               },
                               [slider, &position] { slider->setValue(position); }});
}

void DataExchange::Bind(QProgressBar* bar, int& position) {
  m_bindings.push_back(Binding{{bar}, [bar, &position](QWidget*) {
                                 position = bar->value();
                                 return true;
                               },
                               [bar, &position] { bar->setValue(position); }});
}

bool DataExchange::Save(QWidget* parent) const {
  for (const Binding& binding : m_bindings) {
    if (!binding.IsEnabled()) continue;
    if (!binding.save(parent)) return false;
  }
  return true;
}

bool DataExchange::Binding::IsEnabled() const {
  return controls.empty() || std::any_of(controls.begin(), controls.end(), [](const QPointer<QWidget>& control) {
           return control && control->isEnabled();
         });
}

void DataExchange::Load() const {
  for (const Binding& binding : m_bindings) binding.load();
}
