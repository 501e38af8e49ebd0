#include "platform/win32/Win32Dialog.h"

#include <utility>

#include "platform/DialogTemplate.h"
#include "platform/win32/TemplateBuilder.h"
#include "platform/win32/Utf16.h"

namespace platform::win32 {

namespace {

// Runs the tasks Post() queued, from the window's own message loop.
constexpr UINT kRunTasks = WM_APP + 1;

HINSTANCE ProgramInstance() {
  return GetModuleHandleW(nullptr);
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT rather than GetWindowText, which answers windows of other
  // processes from a cache.
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

}  // namespace

bool IsDialogWindow(HWND window) {
  constexpr ULONG_PTR kDialogClassAtom = 32770;
  return window && GetClassLongPtrW(window, GCW_ATOM) == kDialogClassAtom;
}

// Win32Control --------------------------------------------------------------

void Win32Control::SetEnabled(bool enabled) {
  EnableWindow(m_window, enabled ? TRUE : FALSE);
}
bool Win32Control::IsEnabled() const {
  return IsWindowEnabled(m_window) != FALSE;
}

// For an edit, WM_SETTEXT makes the control send EN_CHANGE before it
// returns, also from inside an EN_CHANGE handler; the length limit does
// not apply to it.
void Win32Control::SetText(const std::string& utf8) {
  const std::wstring text = Widen(utf8);
  const bool outer = std::exchange(m_programSetting, true);
  SendMessageW(m_window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  m_programSetting = outer;
  if (m_kind == ControlKind::Edit) m_lastText = WindowText(m_window);
}

// Wine's edit also sends EN_CHANGE for a keystroke that the length limit
// refused, where Windows' sends only EN_MAXTEXT; such a notice is dropped.
bool Win32Control::TakeEditChange() {
  std::wstring now = WindowText(m_window);
  const bool changed = m_programSetting || now != m_lastText;
  m_lastText = std::move(now);
  return changed;
}

std::string Win32Control::Text() const {
  return Narrow(WindowText(m_window));
}

void Win32Control::SetSize(int cx, int cy) {
  // A drop-down combo box takes cy as field and open list together.
  SetWindowPos(m_window, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_setHeight = cy;
}

// The top of the sibling order, which the dialog manager walks for Tab.
void Win32Control::RaiseToTop() {
  SetWindowPos(m_window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int Win32Control::GetCheck() const {
  if (m_kind != ControlKind::RadioButton && m_kind != ControlKind::CheckBox) return BST_UNCHECKED;
  return static_cast<int>(SendMessageW(m_window, BM_GETCHECK, 0, 0));
}

void Win32Control::SetCheck(int check) {
  if (m_kind != ControlKind::RadioButton && m_kind != ControlKind::CheckBox) return;
  SendMessageW(m_window, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

void Win32Control::SetLimit(int chars) {
  if (m_kind == ControlKind::Edit)
    SendMessageW(m_window, EM_LIMITTEXT, static_cast<WPARAM>(chars), 0);
}

void Win32Control::ResetContent() {
  if (m_kind != ControlKind::ComboBox) return;
  SendMessageW(m_window, CB_RESETCONTENT, 0, 0);
  m_tips.clear();
}

int Win32Control::AddString(const std::string& utf8) {
  if (m_kind != ControlKind::ComboBox) return -1;
  const std::wstring text = Widen(utf8);
  return static_cast<int>(
      SendMessageW(m_window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int Win32Control::Count() const {
  if (m_kind != ControlKind::ComboBox) return 0;
  return static_cast<int>(SendMessageW(m_window, CB_GETCOUNT, 0, 0));
}

int Win32Control::SetCurSel(int index) {
  if (m_kind != ControlKind::ComboBox) return -1;
  return static_cast<int>(SendMessageW(m_window, CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

void Win32Control::SetDroppedWidth(int pixels) {
  if (m_kind != ControlKind::ComboBox) return;
  m_droppedWidth = pixels;
  SendMessageW(m_window, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(pixels), 0);
}

void Win32Control::SetItemToolTip(int index, const std::string& utf8) {
  if (m_kind != ControlKind::ComboBox || index < 0) return;
  m_tips.push_back(utf8);
  SendMessageW(m_window, CB_SETITEMDATA, static_cast<WPARAM>(index),
               static_cast<LPARAM>(m_tips.size()));
}

std::vector<std::string> Win32Control::ItemTips() const {
  std::vector<std::string> tips;
  for (int i = 0; i < Count(); ++i) {
    const auto data = SendMessageW(m_window, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
    const bool known = data > 0 && static_cast<size_t>(data) <= m_tips.size();
    tips.push_back(known ? m_tips[static_cast<size_t>(data) - 1] : std::string());
  }
  return tips;
}

// Win32Dialog ---------------------------------------------------------------

Win32Dialog::Win32Dialog(MessageSink& sink, HWND owner) : m_sink(sink), m_owner(owner) {}

Win32Dialog::~Win32Dialog() {
  m_destroying = true;
  EnableOwner();
  if (m_window) {
    SetWindowLongPtrW(m_window, DWLP_USER, 0);
    DestroyWindow(m_window);
  }
}

bool Win32Dialog::Create(const DialogTemplate& dialog) {
  const std::vector<unsigned short> data = BuildDialogTemplate(dialog);
  // The window exists, with every control, once this returns; WM_INITDIALOG
  // has only bound it to this object. OnInitDialog is the layer's to run.
  const HWND window =
      CreateDialogIndirectParamW(ProgramInstance(), reinterpret_cast<LPCDLGTEMPLATEW>(data.data()),
                                 m_owner, &Procedure, reinterpret_cast<LPARAM>(this));
  if (!window) return false;
  m_window = window;
  for (const ControlTemplate& control : dialog.controls) {
    if (control.id == -1 || m_controls.count(control.id)) continue;
    if (HWND item = GetDlgItem(m_window, control.id)) {
      m_controls.emplace(control.id, std::make_unique<Win32Control>(item, control.kind));
    }
  }
  return true;
}

INT_PTR CALLBACK Win32Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32Dialog*>(lParam);
    self->m_window = window;
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return FALSE;  // the layer gives the focus when it shows the window
  }
  auto* self = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self || self->m_destroying) return FALSE;
  return self->Handle(message, wParam, lParam);
}

LRESULT Win32Dialog::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_sink.Deliver(message, wParam, lParam);
}

INT_PTR Win32Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        Win32Control* edit = ControlOf(reinterpret_cast<HWND>(lParam));
        if (edit && edit->Kind() == ControlKind::Edit && !edit->TakeEditChange()) return TRUE;
      }
      Deliver(message, wParam, lParam);
      return TRUE;
    case WM_SYSCOMMAND: {
      Deliver(message, wParam, lParam);
      // The layer's default handling turns close into IDCANCEL and has no
      // way to reach the system's: the program's own commands (below
      // 0xF000) and close end here, the other standard commands (move,
      // the keyboard menu, minimise, ...) are then carried out by the
      // system as its default handling would.
      const WPARAM command = wParam & 0xFFF0;
      return command < 0xF000 || command == SC_CLOSE ? TRUE : FALSE;
    }
    case WM_CLOSE:
      Deliver(message, wParam, lParam);
      return TRUE;
    case WM_HELP:
      // F1: the framework's help command, as it comes from the keyboard.
      Deliver(WM_COMMAND, MAKEWPARAM(ID_HELP, 0), 0);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      m_paintDc = BeginPaint(m_window, &paint);
      Deliver(WM_PAINT, 0, 0);
      m_paintDc = nullptr;
      EndPaint(m_window, &paint);
      return TRUE;
    }
    case WM_QUERYDRAGICON: {
      const auto* icon = reinterpret_cast<const IconResource*>(Deliver(message, wParam, lParam));
      // One of the messages whose answer is the dialog procedure's result.
      return reinterpret_cast<INT_PTR>(icon ? icon->big : nullptr);
    }
    case kRunTasks:
      while (!m_tasks.empty()) {
        auto task = std::move(m_tasks.front());
        m_tasks.pop_front();
        task();
      }
      return TRUE;
    default:
      return FALSE;
  }
}

ControlPeer& Win32Dialog::Control(int id) {
  return *m_controls.at(id);
}
bool Win32Dialog::HasControl(int id) const {
  return m_controls.count(id) != 0;
}

Win32Control* Win32Dialog::ControlOf(HWND window) const {
  for (; window && window != m_window; window = GetParent(window)) {
    for (const auto& [id, control] : m_controls) {
      if (control->Window() == window) return control.get();
    }
  }
  return nullptr;
}

void Win32Dialog::SetCaption(const std::string& utf8) {
  const std::wstring text = Widen(utf8);
  SetWindowTextW(m_window, text.c_str());
}

void Win32Dialog::SetIcon(HICON icon, bool big) {
  if (!icon) return;
  SendMessageW(m_window, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
               reinterpret_cast<LPARAM>(big ? icon->big : icon->small));
}

bool Win32Dialog::IsIconic() const {
  return ::IsIconic(m_window) != FALSE;
}

CRect Win32Dialog::ClientRect() const {
  RECT rect{};
  GetClientRect(m_window, &rect);
  return CRect{rect.left, rect.top, rect.right, rect.bottom};
}

void Win32Dialog::Show(bool focusFirstTabStop) {
  ShowWindow(m_window, SW_SHOWNORMAL);
  if (focusFirstTabStop) {
    // As the dialog manager does after WM_INITDIALOG returned TRUE: the
    // first tab stop, through WM_NEXTDLGCTL so that a push button becomes
    // the default one and an edit's text is selected.
    if (HWND first = GetNextDlgTabItem(m_window, nullptr, FALSE)) {
      SendMessageW(m_window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
  }
}

// The dialog box loop: the owner is disabled, every message goes through
// IsDialogMessageW first, and the loop ends with End() (EndDialog).
void Win32Dialog::RunModalLoop() {
  if (m_ended) return;
  if (m_owner && IsWindowEnabled(m_owner)) {
    EnableWindow(m_owner, FALSE);
    m_ownerDisabled = true;
  }
  MSG msg;
  while (!m_ended) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT belongs to the loop outside this one.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageW(m_window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  EnableOwner();
}

void Win32Dialog::End() {
  m_ended = true;
  // The owner comes back before the window hides, so that it, not some
  // other program, becomes active.
  EnableOwner();
  ShowWindow(m_window, SW_HIDE);
  PostMessageW(m_window, WM_NULL, 0, 0);  // wakes the loop
}

void Win32Dialog::EnableOwner() {
  if (m_ownerDisabled && m_owner) EnableWindow(m_owner, TRUE);
  m_ownerDisabled = false;
}

void Win32Dialog::MessageBox(const std::string& text, const std::string& caption, UINT type) {
  const std::wstring wideText = Widen(text), wideCaption = Widen(caption);
  MessageBoxW(m_window, wideText.c_str(), wideCaption.c_str(), type);
}

void Win32Dialog::DrawIcon(int x, int y, HICON icon) {
  if (m_paintDc && icon && icon->big) ::DrawIcon(m_paintDc, x, y, icon->big);
}

void Win32Dialog::EraseIconBackground() {
  if (m_paintDc)
    DefWindowProcW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(m_paintDc), 0);
}

bool Win32Dialog::HasSystemMenu() const {
  return GetSystemMenu(m_window, FALSE) != nullptr;
}

void Win32Dialog::AppendSystemMenuItem(UINT flags, UINT id, const std::string& text) {
  HMENU menu = GetSystemMenu(m_window, FALSE);
  if (!menu) return;
  const std::wstring wide = Widen(text);
  AppendMenuW(menu, flags, id, (flags & MF_SEPARATOR) ? nullptr : wide.c_str());
}

void Win32Dialog::Post(std::function<void()> task) {
  m_tasks.push_back(std::move(task));
  PostMessageW(m_window, kRunTasks, 0, 0);
}

}  // namespace platform::win32

// Backend entry points --------------------------------------------------------

namespace platform {

std::unique_ptr<DialogPeer> CreateDialogPeer(const DialogTemplate& dialog, MessageSink& sink,
                                             DialogPeer* owner) {
  auto* ownerDialog = dynamic_cast<win32::Win32Dialog*>(owner);
  auto peer =
      std::make_unique<win32::Win32Dialog>(sink, ownerDialog ? ownerDialog->Window() : nullptr);
  if (!peer->Create(dialog)) return nullptr;
  return peer;
}

HICON LoadIconGroup(UINT id) {
  static std::map<UINT, std::unique_ptr<IconResource>> loaded;
  if (auto found = loaded.find(id); found != loaded.end()) return found->second.get();
  auto icon = std::make_unique<IconResource>();
  // The group's best image for each size the system draws.
  icon->big = static_cast<WinIcon>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), LR_SHARED));
  icon->small = static_cast<WinIcon>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!icon->big) return nullptr;
  if (!icon->small) icon->small = icon->big;
  return loaded.emplace(id, std::move(icon)).first->second.get();
}

int SystemMetric(int index) {
  return GetSystemMetrics(index);
}

void ShowMessageBox(const std::string& text, const std::string& caption, UINT type) {
  const std::wstring wideText = win32::Widen(text), wideCaption = win32::Widen(caption);
  MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(), type);
}

}  // namespace platform
