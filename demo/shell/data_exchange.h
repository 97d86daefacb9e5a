#pragma once
// Binds a page's value members to its controls: Save() reads every control
// into its member before a command (refusing what the member cannot hold or
// what breaks the field's range or length), Load() shows the members after a
// reply.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

class QAbstractSlider;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QWidget;

// The least and the greatest value a numeric field accepts.
struct ValueRange {
  double minimum = 0;
  double maximum = 0;
};

// A date and a time of day as the date and time pickers exchange them.
struct PickedDateTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const PickedDateTime&) const = default;
};

class DataExchange {
 public:
  // Numeric edits; a range refuses values outside it with the range message.
  void Bind(QLineEdit* edit, int& value, std::optional<ValueRange> range = std::nullopt);
  void Bind(QLineEdit* edit, std::uint32_t& value, std::optional<ValueRange> range = std::nullopt);
  // Shown and read as an unsigned decimal of full width.
  void Bind(QLineEdit* edit, std::uint64_t& value, std::optional<ValueRange> range = std::nullopt);
  // Floats show 6 significant digits, doubles 15.
  void Bind(QLineEdit* edit, float& value, std::optional<ValueRange> range = std::nullopt);
  void Bind(QLineEdit* edit, double& value, std::optional<ValueRange> range = std::nullopt);
  // A text; a maximum length (characters, 0: none) refuses longer texts.
  void Bind(QLineEdit* edit, std::string& value, std::size_t maxLength = 0);
  void Bind(QCheckBox* box, bool& value);
  // A static text: shown, never read.
  void Bind(QLabel* label, std::string& text);
  // The chosen entry's index, -1 when nothing is chosen.
  void Bind(QComboBox* combo, int& index);
  void Bind(QListWidget* list, int& index);
  // The index of the checked button of the group, -1 when none is checked.
  void Bind(QButtonGroup* group, int& index);
  // A date picker exchanges the date, a time picker the time of day; the
  // other half of the value is left as it is.
  void BindDate(QDateTimeEdit* picker, PickedDateTime& value);
  void BindTime(QDateTimeEdit* picker, PickedDateTime& value);
  // Sliders and progress bars: the position.
  void Bind(QAbstractSlider* slider, int& position);
  void Bind(QProgressBar* bar, int& position);

  // Reads every enabled control in binding order; a disabled one is left
  // out and its member keeps the value last read or shown. A control whose
  // text is not a value of its kind, or breaks its range or length, stops
  // the reading: its message is shown, the control gets the focus and the
  // result is false (members read so far keep their values).
  bool Save(QWidget* parent) const;
  void Load() const;

  // Parsers of the field texts (surrounding blanks allowed).
  static bool ParseInt(const std::string& text, int& value);
  static bool ParseUInt(const std::string& text, std::uint32_t& value);
  static bool ParseUInt64(const std::string& text, std::uint64_t& value);
  static bool ParseReal(const std::string& text, double& value);

  // The messages of a refused field.
  static std::string IntegerRangeMessage(const ValueRange& range);
  static std::string RealRangeMessage(const ValueRange& range);
  static std::string LengthMessage(std::size_t maxLength);

 private:
  struct Binding {
    // The bound controls; the binding is read while any of them is enabled.
    std::vector<QPointer<QWidget>> controls;
    std::function<bool(QWidget* parent)> save;
    std::function<void()> load;
    bool IsEnabled() const;
  };
  std::vector<Binding> m_bindings;
};
