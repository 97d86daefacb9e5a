#include "demo/shell/ui_services.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

UiServices& Current() {
  static UiServices services = DefaultUiServices();
  return services;
}

}  // namespace

UiServices DefaultUiServices() {
  UiServices services;
  services.message = [](QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("SentrellDemo"), text);
  };
  services.pickFolder = [](QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
  };
  services.runModal = [](QDialog& dialog) { return dialog.exec(); };
  return services;
}

UiServices& Ui() { return Current(); }

void SetUi(UiServices services) { Current() = std::move(services); }

void ShowMessage(QWidget* parent, std::string_view text) {
  Ui().message(parent, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
