// The test seam over the Qt backend: gestures go through Qt's own event
// delivery (QTest), so focus, validators and notifications run as they
// would for a person.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <stdlib.h>

#include <cstdlib>
#include <limits>

#include "platform/TestSeam.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/QtDialog.h"

// Leaks that are not ours, for test processes built with the leak
// checker: fontconfig 2.14 leaks while it parses Debian's
// 70-no-bitmaps.conf during FcInitLoadConfigAndFonts.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace testseam {

namespace {

using platform::qt::QtControl;
using platform::qt::QtDialog;

// The offscreen platform says for every popup that it cannot raise it or
// grab the keyboard; that is no news for a test.
QtMessageHandler g_standardMessages = nullptr;
void QuietOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  if (g_standardMessages) g_standardMessages(type, context, text);
}

// Qt wants a private runtime folder; a test process makes its own and
// takes it away when it ends, so that test runs leave nothing in /tmp.
QByteArray g_runtimeFolder;

void RemoveRuntimeFolder() {
  QDir(QString::fromLocal8Bit(g_runtimeFolder)).removeRecursively();
}

void EnsureRuntimeFolder() {
  if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) return;
  QByteArray folder = QDir::tempPath().toLocal8Bit() + "/ravik-runtime-XXXXXX";
  if (!::mkdtemp(folder.data())) return;
  qputenv("XDG_RUNTIME_DIR", folder);
  g_runtimeFolder = folder;
  std::atexit(RemoveRuntimeFolder);
}

void EnsureApplication() {
  EnsureRuntimeFolder();
  if (!g_standardMessages) g_standardMessages = qInstallMessageHandler(QuietOffscreenNotices);
  static int argc = 1;
  static char name[] = "ravik-tests";
  static char* argv[] = {name, nullptr};
  if (!qApp) new QApplication(argc, argv);  // lives as long as the test process
}

std::string RoleName(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  if (!accessible) return "";
  switch (accessible->role()) {
    case QAccessible::PushButton: return "push button";
    case QAccessible::RadioButton: return "radio button";
    case QAccessible::CheckBox: return "check box";
    case QAccessible::EditableText: return "edit";
    case QAccessible::ComboBox: return "combo box";
    case QAccessible::Grouping: return "group box";
    case QAccessible::StaticText: return "label";
    case QAccessible::Graphic: return "picture";
    default: return "other";
  }
}

class QtDriver final : public DialogDriver {
 public:
  explicit QtDriver(CDialog& dialog) : m_dialog(dialog) {}

  void Click(int id) override {
    QWidget* widget = Widget(id);
    QPoint at = widget->rect().center();
    const auto kind = Control(id).Kind();
    if (kind == ControlKind::RadioButton || kind == ControlKind::CheckBox) {
      at = QPoint(6, widget->height() / 2);  // on the indicator
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
      widget = combo->lineEdit();
      at = widget->rect().center();
    }
    // QTest moves an int timestamp on by half a second and more per click;
    // a fuzzing run clicks millions of times in one process, so the count
    // starts over long before it would overflow. Events sent to a widget
    // never make double clicks, so the step back does no harm.
    if (QTest::lastMouseTimestamp > std::numeric_limits<int>::max() / 2) {
      QTest::lastMouseTimestamp = 0;
    }
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
  }

  void Type(int id, std::string_view text) override {
    QWidget* target = FocusInto(id);
    if (!target) return;
    QTest::keyClick(target, Qt::Key_End);
    const QString typed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (qsizetype i = 0; i < typed.size(); ++i) {
      // One key per character, a surrogate pair included.
      const qsizetype length = typed[i].isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
      QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, typed.mid(i, length),
                          Qt::NoModifier);
      i += length - 1;
    }
  }

  void Clear(int id) override {
    QWidget* target = FocusInto(id);
    if (!target) return;
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Backspace);
  }

  void Paste(int id, std::string_view text) override {
    QWidget* target = FocusInto(id);
    if (!target) return;
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QTest::keyClick(target, Qt::Key_End);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
  }

  void Press(Key key) override {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = Window()->focusWidget();
    if (!target) target = Window();
    Qt::Key qtKey = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    switch (key) {
      case Key::Tab: qtKey = Qt::Key_Tab; break;
      case Key::BackTab: qtKey = Qt::Key_Backtab; modifiers = Qt::ShiftModifier; break;
      case Key::Enter: qtKey = Qt::Key_Return; break;
      case Key::Escape: qtKey = Qt::Key_Escape; break;
      case Key::Space: qtKey = Qt::Key_Space; break;
      case Key::Up: qtKey = Qt::Key_Up; break;
      case Key::Down: qtKey = Qt::Key_Down; break;
      case Key::Left: qtKey = Qt::Key_Left; break;
      case Key::Right: qtKey = Qt::Key_Right; break;
      case Key::AltF4: qtKey = Qt::Key_F4; modifiers = Qt::AltModifier; break;
      case Key::F1: qtKey = Qt::Key_F1; break;
      case Key::Backspace: qtKey = Qt::Key_Backspace; break;
      case Key::End: qtKey = Qt::Key_End; break;
    }
    QTest::keyClick(target, qtKey, modifiers);
  }

  void CloseBox() override { Window()->close(); }

  void OpenDropDown(int id) override {
    auto* combo = qobject_cast<QComboBox*>(Widget(id));
    if (!combo || !combo->isEnabled()) return;
    combo->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
  }

  void PickItem(int id, int index) override {
    auto* combo = qobject_cast<QComboBox*>(Widget(id));
    if (!combo || !combo->view()->isVisible()) return;
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
  }

  ControlState State(int id) const override {
    const QtControl& control = Control(id);
    QWidget* widget = control.Widget();
    ControlState state;
    state.enabled = widget->isEnabled();
    state.visible = widget->isVisibleTo(Window());
    state.check = control.GetCheck();
    state.text = control.Text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      for (int i = 0; i < combo->count(); ++i) {
        state.items.push_back(combo->itemText(i).toStdString());
        state.itemTips.push_back(combo->itemData(i, Qt::ToolTipRole).toString().toStdString());
      }
    }
    state.width = control.LogicalWidth();
    state.height = control.LogicalHeight();
    state.x = widget->x();
    state.y = widget->y();
    state.droppedWidth = control.DroppedWidth();
    // What assistive technology is told, not the property: Qt's own
    // interfaces may ignore it.
    if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget)) {
      state.accessibleName = accessible->text(QAccessible::Name).toStdString();
    }
    state.accessibleRole = RoleName(widget);
    return state;
  }

  int FocusedId() const override {
    const QtControl* control = Window()->ControlOf(Window()->focusWidget());
    return control ? control->Id() : 0;
  }

  std::vector<int> TabOrder() const override {
    QtDialog* window = Window();
    std::vector<int> order;
    const auto stops = window->TabStopsInOrder();
    if (stops.empty()) return order;
    QWidget* saved = window->focusWidget();
    stops.front()->Widget()->setFocus(Qt::OtherFocusReason);
    for (int guard = 0; guard < 200; ++guard) {
      const int id = FocusedId();
      if (!order.empty() && id == order.front()) break;
      order.push_back(id);
      window->MoveFocus(true);
    }
    if (saved) saved->setFocus(Qt::OtherFocusReason);
    return order;
  }

  bool IsOpen() const override { return m_dialog.Peer() && !Window()->Ended(); }

  bool IsEnabled() const override {
    QWidget* modal = QApplication::activeModalWidget();
    return !(modal && modal != Window() && modal->parentWidget() == Window());
  }

  std::string Caption() const override { return Window()->windowTitle().toStdString(); }
  int ClientWidth() const override { return Window()->width(); }
  int ClientHeight() const override { return Window()->height(); }
  bool Grab(const std::string& path) const override {
    return Window()->grab().save(QString::fromStdString(path), "PNG");
  }

 private:
  QtDialog* Window() const { return dynamic_cast<QtDialog*>(m_dialog.Peer()); }
  QtControl& Control(int id) const { return static_cast<QtControl&>(Window()->Control(id)); }
  QWidget* Widget(int id) const { return Control(id).Widget(); }

  // A person clicks into the control before typing; a disabled one takes nothing.
  QWidget* FocusInto(int id) {
    QWidget* widget = Widget(id);
    if (!widget->isEnabled()) return nullptr;
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
      widget = combo->lineEdit();
    }
    widget->setFocus(Qt::MouseFocusReason);
    return widget;
  }

  CDialog& m_dialog;
};

}  // namespace

std::unique_ptr<DialogDriver> Open(CDialog& dialog) {
  EnsureApplication();
  if (!dialog.Create()) return nullptr;
  return std::make_unique<QtDriver>(dialog);
}

MessageBoxRecorder::MessageBoxRecorder() {
  platform::SetMessageBoxInterceptor(
      [this](const std::string& text, const std::string& caption, UINT style) {
        m_calls.push_back({text, caption, style});
      });
}

MessageBoxRecorder::~MessageBoxRecorder() { platform::SetMessageBoxInterceptor(nullptr); }

void OnNextModal(std::function<void(DialogDriver&)> script, ModalRun* report) {
  EnsureApplication();
  platform::SetModalHook([script = std::move(script), report](CDialog& dialog) {
    QtDriver driver(dialog);
    if (report) {
      report->templateId = dialog.Template().id;
      auto* window = dynamic_cast<QtDialog*>(dialog.Peer());
      report->ownerWasDisabled = window && window->parentWidget() &&
                                 QApplication::activeModalWidget() == window;
    }
    script(driver);
    if (report) {
      report->leftOpen = !dialog.Result().has_value();
      report->result = dialog.Result().value_or(-1);
    }
  });
}

}  // namespace testseam
