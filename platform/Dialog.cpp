#include "platform/Dialog.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/File.h"
#include "platform/Resources.h"
#include "platform/WinApp.h"

namespace {

// The top-level dialog that owns later dialogs when the program has not
// registered a main window (tests build dialogs without an application).
CDialog* g_firstTopLevel = nullptr;

platform::MessageBoxInterceptor& Interceptor() {
  static platform::MessageBoxInterceptor interceptor;
  return interceptor;
}

class SystemMenu final : public CMenu {
 public:
  explicit SystemMenu(platform::DialogPeer& window) : m_window(window) {}
  BOOL AppendMenu(UINT flags, UINT id, const char* text) override {
    m_window.AppendSystemMenuItem(flags, id, text ? text : "");
    return TRUE;
  }

 private:
  platform::DialogPeer& m_window;
};


}  // namespace

void platform::SetMessageBoxInterceptor(MessageBoxInterceptor interceptor) {
  Interceptor() = std::move(interceptor);
}
const platform::MessageBoxInterceptor& platform::GetMessageBoxInterceptor() {
  return Interceptor();
}

namespace {
platform::ModalHook& PendingModalHook() {
  static platform::ModalHook hook;
  return hook;
}
}  // namespace

void platform::SetModalHook(ModalHook hook) { PendingModalHook() = std::move(hook); }
platform::ModalHook platform::TakeModalHook() { return std::exchange(PendingModalHook(), nullptr); }

CDialog* MainWindow() {
  if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) {
    return dynamic_cast<CDialog*>(app->m_pMainWnd);
  }
  return g_firstTopLevel;
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_template(FindDialogTemplate(templateId)), m_parent(parent) {}

CDialog::CDialog(const DialogTemplate& dialog, CWnd* parent)
    : m_template(&dialog), m_parent(parent) {}

CDialog::~CDialog() { DestroyWindow(); }

const MessageMap* CDialog::GetMessageMap() const {
  static const MessageEntry entries[] = {
      OnCommand(IDOK, &CDialog::OnOK),
      OnCommand(IDCANCEL, &CDialog::OnCancel),
  };
  static const MessageMap map{CCmdTarget::GetMessageMap(), entries};
  return &map;
}

BOOL CDialog::CreateWindow(bool modal) {
  if (!m_template || m_window) return FALSE;
  platform::DialogPeer* owner = nullptr;
  if (auto* parent = dynamic_cast<CDialog*>(m_parent)) {
    owner = parent->Peer();
  } else if (CDialog* main = MainWindow(); main && main != this) {
    owner = main->Peer();
  }
  m_modal = modal;
  m_result.reset();
  m_window = platform::CreateDialogPeer(*m_template, *this, owner);
  if (!m_window) return FALSE;
  if (!owner && !g_firstTopLevel) g_firstTopLevel = this;

  for (const ControlTemplate& control : m_template->controls) {
    if (control.id == -1 || m_items.count(control.id)) continue;
    std::unique_ptr<CWnd> item;
    switch (control.kind) {
      case ControlKind::PushButton:
      case ControlKind::RadioButton:
      case ControlKind::CheckBox:
      case ControlKind::GroupBox:
        item = std::make_unique<CButton>();
        break;
      case ControlKind::Edit:
        item = std::make_unique<CEdit>();
        break;
      case ControlKind::ComboBox:
        item = std::make_unique<CComboBox>();
        break;
      case ControlKind::StaticText:
      case ControlKind::StaticBitmap:
        item = std::make_unique<CStatic>();
        break;
    }
    item->m_peer = &m_window->Control(control.id);
    item->m_id = control.id;
    m_items.emplace(control.id, std::move(item));
  }

  BOOL focus = FALSE;
  try {
    focus = OnInitDialog();
  } catch (...) {
    DestroyWindow();
    return FALSE;
  }
  if (m_window && !m_result) m_window->Show(focus != FALSE);
  return m_window ? TRUE : FALSE;
}

void CDialog::DestroyWindow() {
  m_items.clear();
  m_systemMenu.reset();
  m_window.reset();
  if (g_firstTopLevel == this) g_firstTopLevel = nullptr;
  if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

INT_PTR CDialog::DoModal() {
  if (!CreateWindow(true)) return -1;
  if (auto hook = platform::TakeModalHook(); hook && !m_result) {
    m_window->Post([this, hook] {
      hook(*this);
      if (!m_result) EndDialog(-1);
    });
  }
  if (!m_result) m_window->RunModalLoop();
  const INT_PTR result = m_result.value_or(-1);
  DestroyWindow();
  return result;
}

BOOL CDialog::Create() { return CreateWindow(false); }

void CDialog::EndDialog(int result) {
  m_result = result;
  if (m_window) m_window->End();
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnPaint() {}

BOOL CDialog::UpdateData(BOOL) { return TRUE; }

CWnd* CDialog::GetDlgItem(int id) const {
  const auto found = m_items.find(id);
  return found == m_items.end() ? nullptr : found->second.get();
}

template <class T>
T& CDialog::TypedItem(int id) const {
  auto* item = dynamic_cast<T*>(GetDlgItem(id));
  if (!item) throw std::logic_error("control " + std::to_string(id) + " is not of that kind");
  return *item;
}

CButton& CDialog::Button(int id) const { return TypedItem<CButton>(id); }
CEdit& CDialog::Edit(int id) const { return TypedItem<CEdit>(id); }
CComboBox& CDialog::Combo(int id) const { return TypedItem<CComboBox>(id); }

int CDialog::GetDlgItemText(int id, CString& text) const {
  GetDlgItem(id)->GetWindowText(text);
  return text.GetLength();
}

int CDialog::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  CString text;
  GetDlgItemText(id, text);
  if (translated) *translated = FALSE;
  const char* begin = text.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  if (!isSigned && *begin == '-') return 0;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(begin, &end, 10);
  if (end == begin || errno == ERANGE || value > INT32_MAX || value < INT32_MIN) return 0;
  if (translated) *translated = TRUE;
  return static_cast<int>(value);
}

void CDialog::SetWindowText(const CString& text) {
  if (m_window) m_window->SetCaption(text.str());
}

int CDialog::MessageBox(const CString& text, const CString& caption, UINT type) {
  if (const auto& intercept = platform::GetMessageBoxInterceptor()) {
    intercept(text.str(), caption.str(), type);
  } else if (m_window) {
    m_window->MessageBox(text.str(), caption.str(), type);
  } else {
    platform::ShowMessageBox(text.str(), caption.str(), type);
  }
  return IDOK;
}

CMenu* CDialog::GetSystemMenu(BOOL) {
  if (!m_window || !m_window->HasSystemMenu()) return nullptr;
  if (!m_systemMenu) m_systemMenu = std::make_unique<SystemMenu>(*m_window);
  return m_systemMenu.get();
}

HICON CDialog::SetIcon(HICON icon, BOOL big) {
  if (m_window) m_window->SetIcon(icon, big != FALSE);
  return nullptr;
}

BOOL CDialog::IsIconic() const { return m_window && m_window->IsIconic() ? TRUE : FALSE; }

void CDialog::GetClientRect(CRect* rect) const {
  *rect = m_window ? m_window->ClientRect() : CRect{};
}

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Deliver(message, wParam, lParam);
}

LRESULT CDialog::Default() {
  if (!m_current) return 0;
  return DefaultHandling(m_current->message, m_current->wParam, m_current->lParam);
}

LRESULT CDialog::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      // The close box, Alt+F4 and the menu's close item end the dialog
      // as Escape does.
      if ((wParam & 0xFFF0) == SC_CLOSE) return Deliver(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
      return 0;
    case WM_CLOSE:
      return Deliver(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    case WM_ICONERASEBKGND:
      if (m_window) m_window->EraseIconBackground();
      return 1;
    case WM_COMMAND:
      // Commands no window handles go to the application (ID_HELP).
      if (CWinApp* app = AfxGetApp()) app->DispatchMessage(message, wParam, lParam);
      return 0;
    default:
      return 0;
  }
}

LRESULT CDialog::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto outer = m_current;
  m_current = Current{message, wParam, lParam};
  LRESULT result = 0;
  // A failure that escapes a handler ends that handler only: the person
  // sees it in an error box and the window goes on.
  try {
    if (!DispatchMessage(message, wParam, lParam, &result)) {
      result = DefaultHandling(message, wParam, lParam);
    }
  } catch (const CFileException& failure) {
    MessageBox(failure.what(), "Fehler", MB_ICONERROR);
  } catch (const std::exception& failure) {
    MessageBox(std::string("Unerwarteter Fehler:\n") + failure.what(), "Fehler", MB_ICONERROR);
  }
  m_current = outer;
  return result;
}

void CPaintDC::DrawIcon(int x, int y, HICON icon) {
  if (m_dialog->m_window) m_dialog->m_window->DrawIcon(x, y, icon);
}
