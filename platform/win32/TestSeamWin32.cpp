// The test seam over the Win32 backend: gestures are the input messages a
// person's mouse and keyboard produce, posted to the real controls and run
// through the dialog manager (IsDialogMessageW) as a dialog's message loop
// would, so focus, radio groups, limits and notifications are Windows' own.
#define RAVIK_WIN32_BESIDE_LAYER
#define RAVIK_WIN32_ACCESSIBILITY
#include "platform/win32/Win32Dialog.h"

#include <array>
#include <cstring>
#include <string>

#include "platform/TestSeam.h"
#include "platform/win32/PngWriter.h"
#include "platform/win32/Utf16.h"

namespace testseam {

namespace {

using platform::win32::Narrow;
using platform::win32::Widen;
using platform::win32::Win32Control;
using platform::win32::Win32Dialog;

// Handles every message that is waiting, as the dialog's loop would.
void Pump() {
  MSG msg;
  for (int guard = 0; guard < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (platform::win32::IsDialogWindow(root) && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Keys held down while the gesture's messages are handled, as the
// keyboard state a real key press leaves behind.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(m_saved.data());
    std::array<BYTE, 256> state = m_saved;
    for (int key : keys) state[static_cast<size_t>(key)] = 0x80;
    SetKeyboardState(state.data());
  }
  ~HeldKeys() { SetKeyboardState(m_saved.data()); }

 private:
  std::array<BYTE, 256> m_saved{};
};

LPARAM KeyData(int vk, bool up, bool alt) {
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
  LPARAM data = 1 | (static_cast<LPARAM>(scan) << 16);
  if (alt) data |= LPARAM{1} << 29;
  if (up) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return data;
}

void PostKey(HWND target, int vk, bool alt = false) {
  const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
  PostMessageW(target, down, static_cast<WPARAM>(vk), KeyData(vk, false, alt));
  Pump();
  PostMessageW(target, up, static_cast<WPARAM>(vk), KeyData(vk, true, alt));
  Pump();
}

void PostClick(HWND target) {
  RECT rect;
  GetClientRect(target, &rect);
  const LPARAM at = MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(target, WM_LBUTTONUP, 0, at);
  Pump();
}

HWND FocusWindow() {
  HWND focus = GetFocus();
  return focus ? focus : GetActiveWindow();
}

std::string RoleName(long role) {
  switch (role) {
    case ROLE_SYSTEM_PUSHBUTTON:
      return "push button";
    case ROLE_SYSTEM_RADIOBUTTON:
      return "radio button";
    case ROLE_SYSTEM_CHECKBUTTON:
      return "check box";
    case ROLE_SYSTEM_TEXT:
      return "edit";
    case ROLE_SYSTEM_COMBOBOX:
      return "combo box";
    case ROLE_SYSTEM_GROUPING:
      return "group box";
    case ROLE_SYSTEM_STATICTEXT:
      return "label";
    case ROLE_SYSTEM_GRAPHIC:
      return "picture";
    default:
      return "other";
  }
}

// MinGW's import library resolves IID_IAccessible to a code thunk, not
// to the interface id; this is its value.
constexpr IID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The role Windows' standard accessible object gives a control of a
// predefined class. Wine 8's object answers "client" for buttons and
// static controls; then the class and style give the role instead.
std::string RoleByClass(HWND window) {
  std::array<wchar_t, 32> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  const std::wstring windowClass = name.data();
  const auto style = static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE));
  if (_wcsicmp(windowClass.c_str(), L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return "check box";
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return "radio button";
      case BS_GROUPBOX:
        return "group box";
      default:
        return "push button";
    }
  }
  if (_wcsicmp(windowClass.c_str(), L"Static") == 0) {
    const auto type = style & SS_TYPEMASK;
    return type == SS_BITMAP || type == SS_ICON ? "picture" : "label";
  }
  if (_wcsicmp(windowClass.c_str(), L"Edit") == 0) return "edit";
  if (_wcsicmp(windowClass.c_str(), L"ComboBox") == 0) return "combo box";
  return "other";
}

// The name Windows' proxies give an edit or combo box: the label in front
// of it (the static control before it among its siblings), access keys
// removed. Wine 8 names edits so, but a combo box by its text.
std::string NameByLabel(HWND window) {
  HWND label = GetWindow(window, GW_HWNDPREV);
  std::array<wchar_t, 32> name{};
  if (!label || !GetClassNameW(label, name.data(), static_cast<int>(name.size())) ||
      _wcsicmp(name.data(), L"Static") != 0) {
    return {};
  }
  std::array<wchar_t, 256> text{};
  GetWindowTextW(label, text.data(), static_cast<int>(text.size()));
  std::wstring plain;
  for (const wchar_t* c = text.data(); *c; ++c) {
    if (*c == L'&' && c[1]) ++c;
    plain += *c;
  }
  return Narrow(plain);
}

// What a screen reader learns of the control: the system's accessible
// object of the window.
void ReadAccessible(HWND window, ControlState* state) {
  static const bool initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  (void)initialised;
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<WinDword>(OBJID_CLIENT), kIAccessible,
                                        reinterpret_cast<void**>(&accessible))) ||
      !accessible) {
    return;
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (accessible->get_accName(self, &name) == S_OK && name) {
    state->accessibleName = Narrow(name);
    SysFreeString(name);
  }
  VARIANT role;
  VariantInit(&role);
  if (accessible->get_accRole(self, &role) == S_OK && role.vt == VT_I4) {
    state->accessibleRole =
        role.lVal == ROLE_SYSTEM_CLIENT ? RoleByClass(window) : RoleName(role.lVal);
  }
  if (state->accessibleRole == "combo box") {
    if (std::string label = NameByLabel(window); !label.empty()) state->accessibleName = label;
  }
  accessible->Release();
}

class Win32Driver final : public DialogDriver {
 public:
  explicit Win32Driver(CDialog& dialog) : m_dialog(dialog) {}

  void Click(int id) override {
    HWND target = Control(id).Window();
    // A disabled or hidden window takes no mouse input at all.
    if (!IsWindowEnabled(target) || !IsWindowVisible(target)) return;
    if (Control(id).Kind() == ControlKind::ComboBox) target = ComboEdit(target);
    PostClick(target);
  }

  void Type(int id, std::string_view text) override {
    HWND target = FocusInto(id);
    if (!target) return;
    PostKey(target, VK_END);
    for (wchar_t c : Widen(text)) {
      PostMessageW(target, WM_CHAR, static_cast<WPARAM>(c), 1);
      Pump();
    }
  }

  void Clear(int id) override {
    HWND target = FocusInto(id);
    if (!target) return;
    PostKey(target, VK_HOME);
    {
      HeldKeys shift{VK_SHIFT};
      PostKey(target, VK_END);
    }
    PostKey(target, VK_DELETE);
  }

  void Paste(int id, std::string_view text) override {
    HWND target = FocusInto(id);
    if (!target) return;
    const std::wstring wide = Widen(text);
    if (OpenClipboard(Window())) {
      EmptyClipboard();
      const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
      if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
      }
      CloseClipboard();
    }
    PostKey(target, VK_END);
    HeldKeys control{VK_CONTROL};
    PostKey(target, 'V');
  }

  void Press(Key key) override {
    HWND target = FocusWindow();
    if (!target) target = Window();
    switch (key) {
      case Key::Tab:
        PostKey(target, VK_TAB);
        break;
      case Key::BackTab: {
        HeldKeys shift{VK_SHIFT};
        PostKey(target, VK_TAB);
        break;
      }
      case Key::Enter:
        PostKey(target, VK_RETURN);
        break;
      case Key::Escape:
        PostKey(target, VK_ESCAPE);
        break;
      case Key::Space:
        PostKey(target, VK_SPACE);
        break;
      case Key::Up:
        PostKey(target, VK_UP);
        break;
      case Key::Down:
        PostKey(target, VK_DOWN);
        break;
      case Key::Left:
        PostKey(target, VK_LEFT);
        break;
      case Key::Right:
        PostKey(target, VK_RIGHT);
        break;
      case Key::AltF4: {
        HeldKeys alt{VK_MENU};
        PostKey(target, VK_F4, true);
        break;
      }
      case Key::F1:
        PostKey(target, VK_F1);
        break;
      case Key::Backspace:
        PostKey(target, VK_BACK);
        break;
      case Key::End:
        PostKey(target, VK_END);
        break;
    }
  }

  // What the caption's close box sends.
  void CloseBox() override {
    PostMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
  }

  // F4 in the field, as a person opens the list from the keyboard.
  void OpenDropDown(int id) override {
    HWND target = FocusInto(id);
    if (!target) return;
    PostKey(target, VK_F4);
  }

  // A click on the entry of the open list.
  void PickItem(int id, int index) override {
    HWND combo = Control(id).Window();
    if (!SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo, &info) || !info.hwndList) return;
    RECT item{};
    if (SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
      return;
    }
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
    PostMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
    Pump();
  }

  ControlState State(int id) const override {
    Win32Control& control = Control(id);
    const HWND window = control.Window();
    ControlState state;
    state.enabled = IsWindowEnabled(window) != FALSE;
    state.visible = IsWindowVisible(window) != FALSE;
    state.check = control.GetCheck();
    state.text = control.Text();
    RECT rect{};
    GetWindowRect(window, &rect);
    state.width = rect.right - rect.left;
    state.height = rect.bottom - rect.top;
    if (control.Kind() == ControlKind::ComboBox) {
      for (int i = 0; i < control.Count(); ++i) {
        const auto length = SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<size_t>(length));
        state.items.push_back(Narrow(item));
      }
      state.itemTips = control.ItemTips();
      // A drop-down combo box's window is its field; the height the
      // program gave covers field and list (Wine's CB_GETDROPPEDCONTROLRECT
      // mixes coordinates, so the control keeps it).
      if (control.SetHeight() > 0) state.height = control.SetHeight();
      state.droppedWidth = control.DroppedWidth();
    }
    POINT origin{rect.left, rect.top};
    ScreenToClient(Window(), &origin);
    state.x = origin.x;
    state.y = origin.y;
    ReadAccessible(window, &state);
    return state;
  }

  int FocusedId() const override {
    const Win32Control* control = Peer()->ControlOf(GetFocus());
    return control ? GetDlgCtrlID(control->Window()) : 0;
  }

  // The dialog manager's own walk, the one the Tab key takes.
  std::vector<int> TabOrder() const override {
    std::vector<int> order;
    HWND first = GetNextDlgTabItem(Window(), nullptr, FALSE);
    for (HWND at = first; at && order.size() < 200;) {
      order.push_back(GetDlgCtrlID(at));
      at = GetNextDlgTabItem(Window(), at, FALSE);
      if (at == first) break;
    }
    return order;
  }

  bool IsOpen() const override { return Peer() && !Peer()->Ended(); }
  bool IsEnabled() const override { return IsWindowEnabled(Window()) != FALSE; }

  std::string Caption() const override {
    std::array<wchar_t, 512> text{};
    GetWindowTextW(Window(), text.data(), static_cast<int>(text.size()));
    return Narrow(text.data());
  }

  int ClientWidth() const override { return Client().right; }
  int ClientHeight() const override { return Client().bottom; }

  bool Grab(const std::string& path) const override {
    RECT rect;
    GetWindowRect(Window(), &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PrintWindow(Window(), memory, 0);
    std::vector<std::uint8_t> pixels(
        static_cast<const std::uint8_t*>(bits),
        static_cast<const std::uint8_t*>(bits) + static_cast<size_t>(width) * height * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return platform::win32::WritePng(path, width, height, pixels);
  }

 private:
  Win32Dialog* Peer() const { return dynamic_cast<Win32Dialog*>(m_dialog.Peer()); }
  HWND Window() const { return Peer()->Window(); }
  Win32Control& Control(int id) const { return Peer()->ControlById(id); }
  RECT Client() const {
    RECT rect{};
    GetClientRect(Window(), &rect);
    return rect;
  }
  static HWND ComboEdit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) && info.hwndItem ? info.hwndItem : combo;
  }

  // A person clicks into the control before typing; a disabled one takes
  // nothing.
  HWND FocusInto(int id) {
    HWND target = Control(id).Window();
    if (!IsWindowEnabled(target) || !IsWindowVisible(target)) return nullptr;
    if (Control(id).Kind() == ControlKind::ComboBox) target = ComboEdit(target);
    if (GetFocus() != target) PostClick(target);
    return target;
  }

  CDialog& m_dialog;
};

// Each test process gets a desktop of its own before its first window, so
// that tests running side by side do not take the focus from each other.
void UsePrivateDesktop() {
  static const bool done = [] {
    const std::wstring name = L"ravik-tests-" + std::to_wstring(GetCurrentProcessId());
    if (HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr)) {
      SetThreadDesktop(desktop);
    }
    return true;
  }();
  (void)done;
}

}  // namespace

std::unique_ptr<DialogDriver> Open(CDialog& dialog) {
  UsePrivateDesktop();
  if (!dialog.Create()) return nullptr;
  Pump();
  return std::make_unique<Win32Driver>(dialog);
}

MessageBoxRecorder::MessageBoxRecorder() {
  platform::SetMessageBoxInterceptor(
      [this](const std::string& text, const std::string& caption, UINT style) {
        m_calls.push_back({text, caption, style});
      });
}

MessageBoxRecorder::~MessageBoxRecorder() {
  platform::SetMessageBoxInterceptor(nullptr);
}

void OnNextModal(std::function<void(DialogDriver&)> script, ModalRun* report) {
  UsePrivateDesktop();
  platform::SetModalHook([script = std::move(script), report](CDialog& dialog) {
    Win32Driver driver(dialog);
    if (report) {
      report->templateId = dialog.Template().id;
      auto* window = dynamic_cast<Win32Dialog*>(dialog.Peer());
      report->ownerWasDisabled = window && window->Owner() && !IsWindowEnabled(window->Owner());
    }
    script(driver);
    if (report) {
      report->leftOpen = !dialog.Result().has_value();
      report->result = dialog.Result().value_or(-1);
    }
  });
}

}  // namespace testseam
