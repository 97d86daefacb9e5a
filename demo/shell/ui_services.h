#pragma once
// Message boxes, the folder picker and modal dialogs go through one
// replaceable set of services, so that tests never meet a modal loop.
#include <functional>
#include <string_view>

#include <QString>

class QDialog;
class QWidget;

struct UiServices {
  // Shows a message box with an OK button.
  std::function<void(QWidget* parent, const QString& text)> message;
  // Lets the user pick a file-system folder; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& title)> pickFolder;
  // Runs a dialog modally and returns its result.
  std::function<int(QDialog& dialog)> runModal;
};

// The standard services (Qt's message box, folder dialog and exec()).
UiServices DefaultUiServices();

// The services the program uses.
UiServices& Ui();
void SetUi(UiServices services);

// Shows a UTF-8 text through Ui().message.
void ShowMessage(QWidget* parent, std::string_view text);
