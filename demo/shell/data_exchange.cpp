#include "demo/shell/data_exchange.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include <QCheckBox>
#include <QLineEdit>

#include "demo/shell/ui_services.h"

namespace {

// The framework's own texts for a field that does not hold a number.
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

bool Refuse(QWidget* parent, QLineEdit* edit, const char* message) {
  ShowMessage(parent, message);
  edit->setFocus();
  edit->selectAll();
  return false;
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

void DataExchange::Bind(QLineEdit* edit, int& value) {
  m_bindings.push_back(Binding{
      [edit, &value](QWidget* parent) {
        return ParseInt(TextOf(edit), value) || Refuse(parent, edit, kNotAnInteger);
      },
      [edit, &value] { edit->setText(QString::number(value)); }});
}

void DataExchange::Bind(QLineEdit* edit, std::uint32_t& value) {
  m_bindings.push_back(Binding{
      [edit, &value](QWidget* parent) {
        return ParseUInt(TextOf(edit), value) || Refuse(parent, edit, kNotAPositiveInteger);
      },
      [edit, &value] { edit->setText(QString::number(value)); }});
}

void DataExchange::Bind(QLineEdit* edit, float& value) {
  m_bindings.push_back(Binding{
      [edit, &value](QWidget* parent) {
        double parsed = 0;
        if (!ParseReal(TextOf(edit), parsed) || parsed > std::numeric_limits<float>::max() ||
            parsed < -std::numeric_limits<float>::max())
          return Refuse(parent, edit, kNotANumber);
        value = static_cast<float>(parsed);
        return true;
      },
      [edit, &value] { edit->setText(QString::number(static_cast<double>(value), 'g', 6)); }});
}

void DataExchange::Bind(QLineEdit* edit, double& value) {
  m_bindings.push_back(Binding{
      [edit, &value](QWidget* parent) {
        return ParseReal(TextOf(edit), value) || Refuse(parent, edit, kNotANumber);
      },
      [edit, &value] { edit->setText(QString::number(value, 'g', 15)); }});
}

void DataExchange::Bind(QLineEdit* edit, std::string& value) {
  m_bindings.push_back(Binding{[edit, &value](QWidget*) {
                                 value = TextOf(edit);
                                 return true;
                               },
                               [edit, &value] { edit->setText(QString::fromStdString(value)); }});
}

void DataExchange::Bind(QCheckBox* box, bool& value) {
  m_bindings.push_back(Binding{[box, &value](QWidget*) {
                                 value = box->isChecked();
                                 return true;
                               },
                               [box, &value] { box->setChecked(value); }});
}

bool DataExchange::Save(QWidget* parent) const {
  for (const Binding& binding : m_bindings) {
    if (!binding.save(parent)) return false;
  }
  return true;
}

void DataExchange::Load() const {
  for (const Binding& binding : m_bindings) binding.load();
}
