#include "demo/shell/login_combo_box.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QStyle>

namespace {

// The edit of a password box: a class of its own, so that it gets the
// accessible interface below instead of the line edit's.
class PasswordEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit PasswordEdit(QWidget* parent = nullptr) : QLineEdit(parent) { setEchoMode(QLineEdit::Password); }
};

// The box: the name from its accessible name (else its buddy label), the
// text as its value, its list and its edit as its children. A password box
// has no value and only its edit as child (its list never holds anything).
class LoginComboAccessible : public QAccessibleWidget {
 public:
  explicit LoginComboAccessible(CLoginComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Value) return QAccessibleWidget::text(kind);
    return Box()->IsPassword() ? QString() : Box()->lineEdit()->text();
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    if (!Box()->IsPassword()) {
      state.expandable = true;
      state.expanded = Box()->view()->isVisible();
    }
    return state;
  }

  int childCount() const override { return static_cast<int>(Parts().size()); }

  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> parts = Parts();
    return index >= 0 && index < parts.size() ? QAccessible::queryAccessibleInterface(parts[index]) : nullptr;
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr ? static_cast<int>(Parts().indexOf(child->object())) : -1;
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (!Box()->IsPassword()) names.push_back(showMenuAction());
    return names;
  }

  void doAction(const QString& action) override {
    if (action != showMenuAction() || Box()->IsPassword()) {
      QAccessibleWidget::doAction(action);
    } else if (Box()->view()->isVisible()) {
      Box()->hidePopup();
    } else {
      Box()->showPopup();
    }
  }

 private:
  CLoginComboBox* Box() const { return static_cast<CLoginComboBox*>(widget()); }

  QList<QWidget*> Parts() const {
    QList<QWidget*> parts;
    if (!Box()->IsPassword()) parts.push_back(Box()->view());
    parts.push_back(Box()->lineEdit());
    return parts;
  }
};

// The password edit: its value is the bullets the screen shows, and it has
// no text interface. Without one, the text-change events of the edit, which
// carry the typed characters, are not passed on to assistive technology.
class PasswordEditAccessible : public QAccessibleWidget {
 public:
  explicit PasswordEditAccessible(PasswordEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Value) return QAccessibleWidget::text(kind);
    const QLineEdit* edit = Edit();
    const int bullet = edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit);
    return QString(edit->text().size(), QChar(static_cast<char16_t>(bullet)));
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !Edit()->isReadOnly();
    state.passwordEdit = true;
    return state;
  }

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

// Asked for every class of an object's class chain, most derived first, so
// these classes are matched before Qt's own interfaces of their bases. Qt's
// accessibility cache owns the interfaces made here.
QAccessibleInterface* LoginComboFactory(const QString& key, QObject* object) {
  if (key == QLatin1String(CLoginComboBox::staticMetaObject.className())) {
    if (auto* box = qobject_cast<CLoginComboBox*>(object)) return new LoginComboAccessible(box);
  } else if (key == QLatin1String(PasswordEdit::staticMetaObject.className())) {
    if (auto* edit = qobject_cast<PasswordEdit*>(object)) return new PasswordEditAccessible(edit);
  }
  return nullptr;
}

// A label's text without the colon (and the spaces) that end it.
QString WithoutColon(QString text) {
  while (!text.isEmpty() && (text.back() == u':' || text.back() == u'：' || text.back().isSpace())) text.chop(1);
  return text;
}

}  // namespace

CLoginComboBox::CLoginComboBox(Echo echo, QWidget* parent) : QComboBox(parent), m_echo(echo) {
  [[maybe_unused]] static const bool factoryInstalled = [] {
    QAccessible::installFactory(&LoginComboFactory);
    return true;
  }();

  if (!IsPassword()) {
    setEditable(true);
    return;
  }
  // The box owns its edit. It makes the box editable and gives it a
  // completer over the list, which a password box does without.
  setLineEdit(new PasswordEdit);
  setCompleter(nullptr);
  setInsertPolicy(QComboBox::NoInsert);
}

void CLoginComboBox::SetLabel(QLabel& label) {
  label.setBuddy(this);
  const QString name = WithoutColon(label.text());
  setAccessibleName(name);
  lineEdit()->setAccessibleName(name);
}

#include "login_combo_box.moc"
