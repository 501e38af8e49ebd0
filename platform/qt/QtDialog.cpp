#include "platform/qt/QtDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/Resources.h"
#include "platform/qt/QtControl.h"

// The images are turned into a QIcon on first use, so an icon may be
// loaded before the application object exists.
struct IconResource {
  UINT id;
  mutable std::optional<QIcon> loaded;
  const QIcon& icon() const {
    if (!loaded) {
      loaded.emplace();
      for (const ImageResource& image : FindIconGroup(id)) {
        QPixmap pixmap;
        pixmap.loadFromData(image.png.data(), static_cast<uint>(image.png.size()), "PNG");
        loaded->addPixmap(pixmap);
      }
    }
    return *loaded;
  }
};

namespace platform::qt {

namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The classic style draws group-box captions on the frame line and keeps
// the controls' look close to a classic dialog.
void UseClassicStyle() {
  static bool done = false;
  if (done || !qApp) return;
  done = true;
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) QApplication::setStyle(style);
}

}  // namespace

QtDialog::QtDialog(const DialogTemplate& dialog, MessageSink& sink, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_sink(sink) {
  UseClassicStyle();
  setAttribute(Qt::WA_DeleteOnClose, false);
  setSizeGripEnabled(false);
  setModal(false);
  if (owner) setWindowModality(Qt::WindowModal);

  m_font = QFont(QString::fromUtf8(dialog.fontName));
  m_font.setStyleHint(QFont::SansSerif);
  // Points at the dialog manager's 96 pixels per inch, whatever the screen says.
  m_font.setPixelSize(static_cast<int>(std::lround(dialog.pointSize * 96.0 / 72.0)));
  m_font.setWeight(QFont::Normal);
  setFont(m_font);
  const QFontMetrics metrics(m_font);
  const int alphabet =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_baseX = (alphabet / 26 + 1) / 2;
  m_baseY = metrics.height();

  setWindowTitle(QString::fromUtf8(dialog.caption));
  setFixedSize(DluToPixelsX(dialog.cx), DluToPixelsY(dialog.cy));

  const ControlTemplate* previousLabel = nullptr;
  QLabel* previousLabelWidget = nullptr;
  int group = 0;
  for (const ControlTemplate& control : dialog.controls) {
    if (control.style & WS_GROUP) ++group;
    auto peer = std::make_unique<QtControl>(*this, control, group, previousLabel);
    peer->Widget()->installEventFilter(this);
    if (control.id != -1 && !m_byId.count(control.id)) m_byId.emplace(control.id, peer.get());
    if (control.kind == ControlKind::StaticText) {
      previousLabel = &control;
      previousLabelWidget = static_cast<QLabel*>(peer->Widget());
    } else if ((control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox) &&
               previousLabelWidget) {
      // The label-for relation, by which a screen reader on Linux finds
      // the caption of a field.
      previousLabelWidget->setBuddy(peer->Widget());
    }
    m_controls.push_back(std::move(peer));
  }
  // Win32 keeps the first created control at the top of the sibling order.
  for (auto& control : m_controls) m_siblings.push_back(control.get());
}

QtDialog::~QtDialog() {
  if (m_loop) m_loop->quit();
  // The widgets go first, so that none of them can notify a control that
  // is already gone.
  for (auto& control : m_controls) delete control->Widget();
  m_controls.clear();
}

int QtDialog::DluToPixelsX(int x) const {
  return static_cast<int>(std::lround(static_cast<double>(x) * m_baseX / 4.0));
}
int QtDialog::DluToPixelsY(int y) const {
  return static_cast<int>(std::lround(static_cast<double>(y) * m_baseY / 8.0));
}

QButtonGroup& QtDialog::ButtonGroup(int group) {
  QButtonGroup*& buttons = m_buttonGroups[group];
  if (!buttons) {
    buttons = new QButtonGroup(this);
    buttons->setExclusive(false);
  }
  return *buttons;
}

ControlPeer& QtDialog::Control(int id) { return *m_byId.at(id); }
bool QtDialog::HasControl(int id) const { return m_byId.count(id) != 0; }

void QtDialog::SetCaption(const std::string& utf8) { setWindowTitle(FromUtf8(utf8)); }

void QtDialog::SetIcon(HICON icon, bool) {
  if (icon) setWindowIcon(icon->icon());
}

bool QtDialog::IsIconic() const { return isMinimized(); }

CRect QtDialog::ClientRect() const { return CRect{0, 0, width(), height()}; }

void QtDialog::Show(bool focusFirstTabStop) {
  show();
  // Offscreen windows have no stacking or activation to ask for.
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    raise();
    activateWindow();
  }
  if (focusFirstTabStop) {
    const auto stops = TabStopsInOrder();
    if (!stops.empty()) stops.front()->Widget()->setFocus(Qt::TabFocusReason);
  }
}

void QtDialog::RunModalLoop() {
  if (m_ended) return;
  QEventLoop loop;
  m_loop = &loop;
  loop.exec(QEventLoop::DialogExec);
  m_loop = nullptr;
}

void QtDialog::End() {
  m_ended = true;
  hide();
  if (m_loop) m_loop->quit();
}

void QtDialog::Post(std::function<void()> task) {
  QTimer::singleShot(0, this, [task = std::move(task)] { task(); });
}

void QtDialog::MessageBox(const std::string& text, const std::string& caption, UINT type) {
  const auto icon = (type & 0xF0) == MB_ICONERROR ? QMessageBox::Critical : QMessageBox::NoIcon;
  QMessageBox box(icon, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok, this);
  box.exec();
}

void QtDialog::DrawIcon(int x, int y, HICON icon) {
  if (m_painter && icon) {
    const int size = SystemMetric(SM_CXICON);
    m_painter->drawPixmap(x, y, icon->icon().pixmap(size, size));
  }
}

void QtDialog::EraseIconBackground() {
  if (m_painter) m_painter->fillRect(rect(), palette().window());
}

LRESULT QtDialog::Notify(int id, UINT code) {
  return m_sink.Deliver(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), code), 0);
}

std::vector<QtControl*> QtDialog::GroupOf(const QtControl& control) const {
  std::vector<QtControl*> members;
  for (const auto& other : m_controls) {
    if (other->Group() == control.Group()) members.push_back(other.get());
  }
  return members;
}

void QtDialog::ClickRadio(QtControl& radio) {
  // An automatic radio button: checking it unchecks the other radio
  // buttons of its group, never a check box.
  for (QtControl* member : GroupOf(radio)) {
    if (member != &radio && member->Kind() == ControlKind::RadioButton) member->SetCheck(BST_UNCHECKED);
  }
  radio.SetCheck(BST_CHECKED);
}

void QtDialog::RaiseInSiblingOrder(QtControl& control) {
  auto at = std::find(m_siblings.begin(), m_siblings.end(), &control);
  if (at != m_siblings.end()) std::rotate(m_siblings.begin(), at, at + 1);
  control.Widget()->raise();
}

QtControl* QtDialog::ControlOf(const QWidget* widget) const {
  for (; widget && widget != this; widget = widget->parentWidget()) {
    for (const auto& control : m_controls) {
      if (control->Widget() == widget) return control.get();
    }
  }
  return nullptr;
}

std::vector<QtControl*> QtDialog::TabStopsInOrder() const {
  std::vector<QtControl*> stops;
  for (QtControl* control : m_siblings) {
    if (control->TabStop() && control->IsEnabled() && control->Widget()->isVisibleTo(this)) {
      stops.push_back(control);
    }
  }
  return stops;
}

bool QtDialog::MoveFocus(bool next) {
  const auto stops = TabStopsInOrder();
  if (stops.empty()) return true;
  QtControl* current = ControlOf(focusWidget());
  // Position of the focus in the sibling order, so that a radio reached
  // with the arrow keys still tabs on from its place.
  auto position = std::find(m_siblings.begin(), m_siblings.end(), current);
  const int count = static_cast<int>(m_siblings.size());
  int index = position == m_siblings.end() ? (next ? -1 : count) : static_cast<int>(position - m_siblings.begin());
  for (int step = 0; step < count; ++step) {
    index = (index + (next ? 1 : -1) + count) % count;
    QtControl* target = m_siblings[static_cast<size_t>(index)];
    if (std::find(stops.begin(), stops.end(), target) == stops.end()) continue;
    target->Widget()->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
  }
  return true;
}

bool QtDialog::MoveInGroup(QtControl& from, bool forward) {
  auto members = GroupOf(from);
  members.erase(std::remove_if(members.begin(), members.end(),
                               [](QtControl* c) {
                                 return !c->IsEnabled() || (c->Kind() != ControlKind::RadioButton &&
                                                            c->Kind() != ControlKind::CheckBox);
                               }),
                members.end());
  auto at = std::find(members.begin(), members.end(), &from);
  if (members.size() < 2 || at == members.end()) return true;
  const auto count = static_cast<std::ptrdiff_t>(members.size());
  const auto index = ((at - members.begin()) + (forward ? 1 : -1) + count) % count;
  QtControl* target = members[static_cast<size_t>(index)];
  target->Widget()->setFocus(Qt::OtherFocusReason);
  // Moving onto an automatic radio button with the arrows clicks it.
  if (target->Kind() == ControlKind::RadioButton) target->Click();
  return true;
}

bool QtDialog::focusNextPrevChild(bool next) { return MoveFocus(next); }

bool QtDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    QtControl* control = ControlOf(qobject_cast<QWidget*>(watched));
    const bool button = control && (control->Kind() == ControlKind::RadioButton ||
                                     control->Kind() == ControlKind::CheckBox);
    if (button && key->modifiers() == Qt::NoModifier) {
      switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
          return MoveInGroup(*control, false);
        case Qt::Key_Down:
        case Qt::Key_Right:
          return MoveInGroup(*control, true);
        default:
          break;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void QtDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // Enter presses the focused push button, otherwise it is IDOK.
      QtControl* focused = ControlOf(focusWidget());
      if (focused && focused->Kind() == ControlKind::PushButton) {
        focused->Click();
      } else {
        Notify(IDOK, BN_CLICKED);
      }
      return;
    }
    case Qt::Key_Escape:
      Notify(IDCANCEL, BN_CLICKED);
      return;
    case Qt::Key_F1:
      Notify(ID_HELP, BN_CLICKED);
      return;
    case Qt::Key_F4:
      if (event->modifiers() & Qt::AltModifier) {
        m_sink.Deliver(WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
      }
      break;
    default:
      break;
  }
  event->ignore();
}

void QtDialog::closeEvent(QCloseEvent* event) {
  // The window ends only through EndDialog; the close box asks for it.
  event->ignore();
  if (!m_ended) m_sink.Deliver(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void QtDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  m_painter = &painter;
  m_sink.Deliver(WM_PAINT, 0, 0);
  m_painter = nullptr;
}

// Backend entry points --------------------------------------------------

std::unique_ptr<DialogPeer> MakeDialog(const DialogTemplate& dialog, MessageSink& sink,
                                       DialogPeer* owner) {
  QWidget* ownerWidget = owner ? dynamic_cast<QtDialog*>(owner) : nullptr;
  return std::make_unique<QtDialog>(dialog, sink, ownerWidget);
}

}  // namespace platform::qt

namespace platform {

std::unique_ptr<DialogPeer> CreateDialogPeer(const DialogTemplate& dialog, MessageSink& sink,
                                             DialogPeer* owner) {
  if (!qApp) return nullptr;
  return qt::MakeDialog(dialog, sink, owner);
}

HICON LoadIconGroup(UINT id) {
  static std::map<UINT, std::unique_ptr<IconResource>> loaded;
  if (auto found = loaded.find(id); found != loaded.end()) return found->second.get();
  if (FindIconGroup(id).empty()) return nullptr;
  auto icon = std::make_unique<IconResource>(IconResource{id, std::nullopt});
  return loaded.emplace(id, std::move(icon)).first->second.get();
}

int SystemMetric(int index) {
  switch (index) {
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    default:
      return 0;
  }
}

void ShowMessageBox(const std::string& text, const std::string& caption, UINT type) {
  const auto icon = (type & 0xF0) == MB_ICONERROR ? QMessageBox::Critical : QMessageBox::NoIcon;
  QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok);
  box.exec();
}

}  // namespace platform
