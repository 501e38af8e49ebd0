#include "platform/qt/QtControl.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>

#include <algorithm>

#include "platform/Resources.h"
#include "platform/qt/QtDialog.h"

namespace platform::qt {

namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "&x" marks an access key; "&&" is a plain ampersand.
QString WithoutAccessKeys(QString text) {
  QString plain;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

// An automatic radio button: a click checks it (never unchecks it) and
// unchecks the rest of its group before the click is notified.
class AutoRadio final : public QRadioButton {
 public:
  AutoRadio(const QString& text, QWidget* parent, QtDialog& dialog, QtControl& control)
      : QRadioButton(text, parent), m_dialog(dialog), m_control(control) {
    // Auto-exclusive within a non-exclusive button group of its own radio
    // group: screen readers see a radio button, and the layer alone decides
    // what gets unchecked.
    setAutoExclusive(true);
  }

 protected:
  void nextCheckState() override { m_dialog.ClickRadio(m_control); }

 private:
  QtDialog& m_dialog;
  QtControl& m_control;
};

// The list is refilled by the window before it opens.
class DropDownCombo final : public QComboBox {
 public:
  DropDownCombo(QWidget* parent, QtControl& control) : QComboBox(parent), m_control(control) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
  }
  void showPopup() override {
    m_control.BeforeDropDown();
    QComboBox::showPopup();
    m_control.AfterDropDown();
  }

 private:
  QtControl& m_control;
};

// A check box that tells a person's click from a check set from outside.
class ClickCheck final : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;
  bool InClick() const { return m_inClick; }

 protected:
  void nextCheckState() override {
    m_inClick = true;
    QCheckBox::nextCheckState();
    m_inClick = false;
  }

 private:
  bool m_inClick = false;
};

// What assistive technology sees of the drive box. Qt's own interface
// names a combo box on Linux by its text, whatever its accessible name;
// ours takes the accessible name (the label before it) and leaves the
// text as the value, and is otherwise the same: the list and the field
// as children, the field as focus child, the list opened by an action.
class DropDownComboAccessible final : public QAccessibleWidget {
 public:
  explicit DropDownComboAccessible(QComboBox* combo)
      : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return Combo()->currentText();
    if (kind == QAccessible::Name && Combo()->accessibleName().isEmpty()) {
      return Combo()->currentText();
    }
    return QAccessibleWidget::text(kind);
  }
  int childCount() const override { return 2; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(Combo()->view());
    if (index == 1) return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child->object() == Combo()->view()) return 0;
    if (child->object() == Combo()->lineEdit()) return 1;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    QLineEdit* field = Combo()->lineEdit();
    return field->rect().contains(field->mapFromGlobal(QPoint(x, y))) ? child(1) : nullptr;
  }
  // The field has the keyboard focus on the box's behalf.
  QAccessibleInterface* focusChild() const override { return child(1); }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Combo()->view()->isVisible();
    state.editable = true;
    return state;
  }
  QStringList actionNames() const override {
    return {showMenuAction(), pressAction()};
  }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return;
    if (Combo()->view()->isVisible()) {
      Combo()->hidePopup();
    } else {
      Combo()->showPopup();
    }
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

// Asked before Qt's own factory (the last installed is asked first).
QAccessibleInterface* AccessibleFor(const QString&, QObject* object) {
  if (auto* combo = dynamic_cast<DropDownCombo*>(object)) return new DropDownComboAccessible(combo);
  return nullptr;
}

// The length limit holds for what a person types or pastes: an insertion
// is cut to what still fits; the program's own texts are never cut.
class LengthLimit final : public QValidator {
 public:
  LengthLimit(QObject* parent, const int& limit, const QString& previous,
              const bool& programSetting)
      : QValidator(parent), m_limit(limit), m_previous(previous), m_programSetting(programSetting) {}

  State validate(QString& input, int& pos) const override {
    if (m_programSetting) return Acceptable;
    const qsizetype allowed = std::max<qsizetype>(m_limit, m_previous.size());
    if (input.size() <= allowed) return Acceptable;
    const qsizetype excess = input.size() - allowed;
    const qsizetype start = std::max<qsizetype>(0, pos - excess);
    input.remove(start, excess);
    pos = static_cast<int>(start);
    // Nothing fitted: the keystroke is refused and nothing changes.
    return input == m_previous ? Invalid : Acceptable;
  }

 private:
  const int& m_limit;
  const QString& m_previous;
  const bool& m_programSetting;
};

}  // namespace

QtControl::QtControl(QtDialog& dialog, const ControlTemplate& control, int group,
                     const ControlTemplate* previousLabel)
    : m_dialog(dialog),
      m_template(control),
      m_group(group),
      m_tabStop((control.style & WS_TABSTOP) != 0) {
  const QString text = QString::fromUtf8(control.text ? control.text : "");
  const int x = dialog.DluToPixelsX(control.x);
  const int y = dialog.DluToPixelsY(control.y);
  m_width = dialog.DluToPixelsX(control.cx);
  m_height = dialog.DluToPixelsY(control.cy);
  QString accessibleName = WithoutAccessKeys(text);

  switch (control.kind) {
    case ControlKind::PushButton: {
      auto* button = new QPushButton(text, &dialog);
      button->setAutoDefault(false);
      button->setDefault((control.style & 0xF) == BS_DEFPUSHBUTTON);
      QObject::connect(button, &QPushButton::clicked, &dialog,
                       [this] { m_dialog.Notify(m_template.id, BN_CLICKED); });
      m_widget = button;
      break;
    }
    case ControlKind::RadioButton: {
      auto* radio = new AutoRadio(text, &dialog, dialog, *this);
      dialog.ButtonGroup(group).addButton(radio);
      QObject::connect(radio, &QRadioButton::clicked, &dialog,
                       [this] { m_dialog.Notify(m_template.id, BN_CLICKED); });
      // Clicks and the program's checks are silent; a change heard here
      // came from outside.
      QObject::connect(radio, &QRadioButton::toggled, &dialog,
                       [this](bool checked) { ClickInstead(checked); });
      m_widget = radio;
      break;
    }
    case ControlKind::CheckBox: {
      auto* check = new ClickCheck(text, &dialog);
      check->setTristate(false);
      QObject::connect(check, &QCheckBox::clicked, &dialog,
                       [this] { m_dialog.Notify(m_template.id, BN_CLICKED); });
      QObject::connect(check, &QCheckBox::toggled, &dialog, [this, check](bool checked) {
        if (!check->InClick()) ClickInstead(checked);
      });
      m_widget = check;
      break;
    }
    case ControlKind::GroupBox: {
      auto* frame = new QGroupBox(text, &dialog);
      frame->setFocusPolicy(Qt::NoFocus);
      m_widget = frame;
      break;
    }
    case ControlKind::StaticText: {
      auto* label = new QLabel(&dialog);
      label->setTextFormat(Qt::PlainText);
      label->setText(text);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(true);
      m_widget = label;
      break;
    }
    case ControlKind::StaticBitmap: {
      auto* picture = new QLabel(&dialog);
      if (const ImageResource* image = FindBitmapResource(static_cast<UINT>(control.imageId))) {
        QPixmap pixmap;
        pixmap.loadFromData(image->png.data(), static_cast<uint>(image->png.size()), "PNG");
        picture->setPixmap(pixmap);
        // A bitmap control takes the size of its bitmap.
        m_width = pixmap.width();
        m_height = pixmap.height();
      }
      m_widget = picture;
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(&dialog);
      edit->setValidator(new LengthLimit(edit, m_limit, m_editText, m_programSetting));
      QObject::connect(edit, &QLineEdit::textChanged, edit,
                       [this](const QString& now) { m_editText = now; });
      QObject::connect(edit, &QLineEdit::textEdited, &dialog,
                       [this] { m_dialog.Notify(m_template.id, EN_CHANGE); });
      m_widget = edit;
      break;
    }
    case ControlKind::ComboBox: {
      static const bool accessible = (QAccessible::installFactory(&AccessibleFor), true);
      (void)accessible;
      auto* combo = new DropDownCombo(&dialog, *this);
      m_widget = combo;
      break;
    }
  }

  if ((control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox) &&
      previousLabel) {
    // A screen reader names an edit by the label in front of it.
    accessibleName = WithoutAccessKeys(QString::fromUtf8(previousLabel->text));
  }
  m_widget->setAccessibleName(accessibleName);
  m_widget->setFont(dialog.DialogFont());
  if (control.kind == ControlKind::GroupBox || control.kind == ControlKind::StaticText ||
      control.kind == ControlKind::StaticBitmap) {
    m_widget->setFocusPolicy(Qt::NoFocus);
  }
  const int fieldHeight =
      control.kind == ControlKind::ComboBox ? m_widget->sizeHint().height() : m_height;
  m_widget->setGeometry(x, y, m_width, fieldHeight);
  if (control.style & WS_DISABLED) m_widget->setEnabled(false);
}

QtControl::~QtControl() = default;

void QtControl::SetEnabled(bool enabled) { m_widget->setEnabled(enabled); }
bool QtControl::IsEnabled() const { return m_widget->isEnabled(); }

void QtControl::SetText(const std::string& utf8) {
  const QString text = FromUtf8(utf8);
  switch (m_template.kind) {
    case ControlKind::Edit: {
      m_programSetting = true;
      static_cast<QLineEdit*>(m_widget)->setText(text);
      // The caret goes to the start, as with the dialog manager's edits.
      static_cast<QLineEdit*>(m_widget)->setCursorPosition(0);
      m_programSetting = false;
      // The dialog manager notifies every program-set text at once.
      m_dialog.Notify(m_template.id, EN_CHANGE);
      break;
    }
    case ControlKind::ComboBox:
      static_cast<QComboBox*>(m_widget)->setEditText(text);
      break;
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(m_widget)->setTitle(text);
      break;
    case ControlKind::StaticText:
      static_cast<QLabel*>(m_widget)->setText(text);
      break;
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
      static_cast<QAbstractButton*>(m_widget)->setText(text);
      break;
    case ControlKind::StaticBitmap:
      break;
  }
}

std::string QtControl::Text() const {
  QString text;
  switch (m_template.kind) {
    case ControlKind::Edit:
      text = static_cast<QLineEdit*>(m_widget)->text();
      break;
    case ControlKind::ComboBox:
      text = static_cast<QComboBox*>(m_widget)->currentText();
      break;
    case ControlKind::GroupBox:
      text = static_cast<QGroupBox*>(m_widget)->title();
      break;
    case ControlKind::StaticText:
      text = static_cast<QLabel*>(m_widget)->text();
      break;
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox:
      text = static_cast<QAbstractButton*>(m_widget)->text();
      break;
    case ControlKind::StaticBitmap:
      break;
  }
  return text.toStdString();
}

void QtControl::SetSize(int cx, int cy) {
  m_width = cx;
  m_height = cy;
  const int height =
      m_template.kind == ControlKind::ComboBox ? m_widget->sizeHint().height() : cy;
  m_widget->resize(cx, height);
}

void QtControl::RaiseToTop() { m_dialog.RaiseInSiblingOrder(*this); }

int QtControl::GetCheck() const {
  if (auto* button = qobject_cast<QAbstractButton*>(m_widget); button && button->isCheckable()) {
    return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
  }
  return BST_UNCHECKED;
}

void QtControl::SetCheck(int check) {
  if (auto* button = qobject_cast<QAbstractButton*>(m_widget); button && button->isCheckable()) {
    const QSignalBlocker quiet(button);
    if (m_template.kind == ControlKind::RadioButton) m_tabStop = check == BST_CHECKED;
    // A program-set check touches this button alone.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(check == BST_CHECKED);
    button->setAutoExclusive(exclusive);
  }
}

void QtControl::ClickInstead(bool checked) {
  // Assistive technology checks a button with setChecked (AT-SPI's
  // "Toggle"), which is no click: the group would keep two radios checked
  // and the window would never hear of it. Undo it and click instead,
  // after the caller's setChecked is over: the click may open a message box.
  SetCheck(checked ? BST_UNCHECKED : BST_CHECKED);
  QTimer::singleShot(0, m_widget, [this] { Click(); });
}

void QtControl::SetLimit(int chars) { m_limit = chars > 0 ? chars : 0x7FFFFFFE; }

void QtControl::Click() {
  if (auto* button = qobject_cast<QAbstractButton*>(m_widget)) button->click();
}

void QtControl::ResetContent() {
  auto* combo = qobject_cast<QComboBox*>(m_widget);
  if (!combo) return;
  const QSignalBlocker quiet(combo);
  combo->clear();
  combo->clearEditText();
}

int QtControl::AddString(const std::string& utf8) {
  auto* combo = qobject_cast<QComboBox*>(m_widget);
  if (!combo) return -1;
  const QSignalBlocker quiet(combo);
  const QString text = FromUtf8(utf8);
  int index = 0;
  while (index < combo->count() &&
         QString::compare(combo->itemText(index), text, Qt::CaseInsensitive) <= 0) {
    ++index;
  }
  // Adding to the list leaves the field's text and selection alone.
  const QString field = combo->currentText();
  const int selected = combo->currentIndex();
  combo->insertItem(index, text);
  combo->setCurrentIndex(selected < 0 ? -1 : (selected >= index ? selected + 1 : selected));
  combo->setEditText(field);
  return index;
}

int QtControl::Count() const {
  auto* combo = qobject_cast<QComboBox*>(m_widget);
  return combo ? combo->count() : 0;
}

int QtControl::SetCurSel(int index) {
  auto* combo = qobject_cast<QComboBox*>(m_widget);
  if (!combo) return -1;
  const QSignalBlocker quiet(combo);
  if (index < 0 || index >= combo->count()) {
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    return -1;
  }
  combo->setCurrentIndex(index);
  combo->setEditText(combo->itemText(index));
  return index;
}

void QtControl::SetDroppedWidth(int pixels) { m_droppedWidth = pixels; }

void QtControl::SetItemToolTip(int index, const std::string& utf8) {
  if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
    combo->setItemData(index, FromUtf8(utf8), Qt::ToolTipRole);
  }
}

void QtControl::BeforeDropDown() { m_dialog.Notify(m_template.id, CBN_DROPDOWN); }

void QtControl::AfterDropDown() {
  auto* combo = qobject_cast<QComboBox*>(m_widget);
  if (!combo) return;
  QWidget* popup = combo->view()->window();
  // The open list is at least the dropped width wide, and the program's
  // height covers field and list together.
  const int width = std::max(popup->width(), m_droppedWidth);
  const int listHeight = std::max(combo->height(), m_height - combo->height());
  popup->resize(width, std::min(popup->height(), listHeight));
}

}  // namespace platform::qt
