// The Win32 backend's dialog window: a real dialog of the Windows dialog
// manager, built from the layer's template as an in-memory extended
// template, with the system's own BUTTON, EDIT, COMBOBOX and STATIC
// controls. The dialog manager itself gives radio groups, tab order,
// Enter, Escape and the arrow keys their meaning; this class only turns
// its notifications into the layer's messages.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

#include "platform/Backend.h"

// A loaded icon group: the sizes the system asks for, from the program's
// own resources, never destroyed (shared resource icons).
struct IconResource {
  WinIcon big = nullptr;
  WinIcon small = nullptr;
};

namespace platform::win32 {

class Win32Control final : public ControlPeer {
 public:
  Win32Control(HWND window, ControlKind kind) : m_window(window), m_kind(kind) {}

  ControlKind Kind() const override { return m_kind; }
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
  void SetText(const std::string& utf8) override;
  std::string Text() const override;
  void SetSize(int cx, int cy) override;
  void RaiseToTop() override;
  int GetCheck() const override;
  void SetCheck(int check) override;
  void SetLimit(int chars) override;
  void ResetContent() override;
  int AddString(const std::string& utf8) override;
  int Count() const override;
  int SetCurSel(int index) override;
  void SetDroppedWidth(int pixels) override;
  void SetItemToolTip(int index, const std::string& utf8) override;

  HWND Window() const { return m_window; }
  // What the program last gave CB_SETDROPPEDWIDTH; the control itself
  // answers at least its own width.
  int DroppedWidth() const { return m_droppedWidth; }
  // The height SetSize gave, field and list together; 0 before.
  int SetHeight() const { return m_setHeight; }
  // Whether an EN_CHANGE the edit sends belongs to a real change: a
  // program-set text always does; a keystroke only if the text changed.
  bool TakeEditChange();
  // The tooltip of each list entry, in list order ("" when none).
  std::vector<std::string> ItemTips() const;

 private:
  HWND m_window;
  ControlKind m_kind;
  int m_droppedWidth = 0;
  int m_setHeight = 0;
  bool m_programSetting = false;
  std::wstring m_lastText;  // an edit's text at its last change
  // A tip travels with its entry as the entry's item data (index + 1), so
  // sorted insertions never mix them up.
  std::vector<std::string> m_tips;
};

class Win32Dialog final : public DialogPeer {
 public:
  Win32Dialog(MessageSink& sink, HWND owner);
  ~Win32Dialog() override;
  bool Create(const DialogTemplate& dialog);

  // DialogPeer
  ControlPeer& Control(int id) override;
  bool HasControl(int id) const override;
  void SetCaption(const std::string& utf8) override;
  void SetIcon(HICON icon, bool big) override;
  bool IsIconic() const override;
  CRect ClientRect() const override;
  void Show(bool focusFirstTabStop) override;
  void RunModalLoop() override;
  void End() override;
  void MessageBox(const std::string& text, const std::string& caption, UINT type) override;
  void DrawIcon(int x, int y, HICON icon) override;
  void EraseIconBackground() override;
  bool HasSystemMenu() const override;
  void AppendSystemMenuItem(UINT flags, UINT id, const std::string& text) override;
  void Post(std::function<void()> task) override;

  HWND Window() const { return m_window; }
  HWND Owner() const { return m_owner; }
  bool Ended() const { return m_ended; }
  Win32Control& ControlById(int id) { return *m_controls.at(id); }
  // The control a window belongs to (a combo box's edit belongs to the
  // combo box); nullptr for frames, labels and other windows.
  Win32Control* ControlOf(HWND window) const;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam);
  void EnableOwner();

  MessageSink& m_sink;
  HWND m_owner;
  HWND m_window = nullptr;
  std::map<int, std::unique_ptr<Win32Control>> m_controls;
  std::deque<std::function<void()>> m_tasks;
  HDC m_paintDc = nullptr;
  bool m_ended = false;
  bool m_ownerDisabled = false;
  bool m_destroying = false;
};

// Windows' window class of every dialog.
bool IsDialogWindow(HWND window);

}  // namespace platform::win32
