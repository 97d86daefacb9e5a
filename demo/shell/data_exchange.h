#pragma once
// Binds a page's value members to its edit fields and check boxes: Save()
// reads every field into its member before a command, Load() shows the
// members after a reply.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QWidget;

class DataExchange {
 public:
  void Bind(QLineEdit* edit, int& value);
  void Bind(QLineEdit* edit, std::uint32_t& value);
  // Floats show 6 significant digits, doubles 15.
  void Bind(QLineEdit* edit, float& value);
  void Bind(QLineEdit* edit, double& value);
  void Bind(QLineEdit* edit, std::string& value);
  void Bind(QCheckBox* box, bool& value);

  // Reads every field in binding order. A field whose text is not a number
  // of its kind stops the reading: its message is shown, the field gets the
  // focus and the result is false (members read so far keep their values).
  bool Save(QWidget* parent) const;
  void Load() const;

  // Parsers of the field texts (surrounding blanks allowed).
  static bool ParseInt(const std::string& text, int& value);
  static bool ParseUInt(const std::string& text, std::uint32_t& value);
  static bool ParseReal(const std::string& text, double& value);

 private:
  struct Binding {
    std::function<bool(QWidget* parent)> save;
    std::function<void()> load;
  };
  std::vector<Binding> m_bindings;
};
