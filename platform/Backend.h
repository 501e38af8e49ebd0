// What the framework layer asks of a backend: one peer per real window.
// The layer's classes (CWnd, CDialog, ...) keep the behaviour the program
// relies on; a backend draws the windows and reports the person's gestures.
// Nothing here names a toolkit type.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/DialogTemplate.h"
#include "platform/Types.h"

class CDialog;

namespace platform {

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual ControlKind Kind() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
  // Program-set text: for an edit this notifies EN_CHANGE at once.
  virtual void SetText(const std::string& utf8) = 0;
  virtual std::string Text() const = 0;
  // Window size in pixels as the program set it (a drop-down combo box's
  // height includes its open list), and raising to the top of the siblings.
  virtual void SetSize(int cx, int cy) = 0;
  virtual void RaiseToTop() = 0;

  // Buttons. Setting a check by program never notifies.
  virtual int GetCheck() const { return BST_UNCHECKED; }
  virtual void SetCheck(int) {}
  // Edits: the most characters a person can type or paste.
  virtual void SetLimit(int) {}
  // Combo boxes.
  virtual void ResetContent() {}
  virtual int AddString(const std::string&) { return -1; }
  virtual int Count() const { return 0; }
  virtual int SetCurSel(int) { return -1; }
  virtual void SetDroppedWidth(int) {}
  virtual void SetItemToolTip(int, const std::string&) {}
};

// The window receives what the person does as messages.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

class DialogPeer {
 public:
  virtual ~DialogPeer() = default;
  virtual ControlPeer& Control(int id) = 0;
  virtual bool HasControl(int id) const = 0;
  virtual void SetCaption(const std::string& utf8) = 0;
  virtual void SetIcon(HICON icon, bool big) = 0;
  virtual bool IsIconic() const = 0;
  virtual CRect ClientRect() const = 0;
  // Shows the window and gives the focus to the first tab stop.
  virtual void Show(bool focusFirstTabStop) = 0;
  // Runs a nested loop until End(); the owner stays disabled meanwhile.
  virtual void RunModalLoop() = 0;
  virtual void End() = 0;
  virtual void MessageBox(const std::string& text, const std::string& caption, UINT type) = 0;
  // Only valid while WM_PAINT is delivered.
  virtual void DrawIcon(int x, int y, HICON icon) = 0;
  virtual void EraseIconBackground() = 0;
  virtual bool HasSystemMenu() const = 0;
  virtual void AppendSystemMenuItem(UINT flags, UINT id, const std::string& text) = 0;
  // Runs task from the window's event loop, after the current message.
  virtual void Post(std::function<void()> task) = 0;
};

// Creates the real window with all its controls from the template.
std::unique_ptr<DialogPeer> CreateDialogPeer(const DialogTemplate& dialog, MessageSink& sink,
                                             DialogPeer* owner);
HICON LoadIconGroup(UINT id);
int SystemMetric(int index);
// A message box with no dialog of the program to own it.
void ShowMessageBox(const std::string& text, const std::string& caption, UINT type);

}  // namespace platform

namespace platform {

// Test seams, never set by the product. While set, message boxes go to the
// interceptor instead of the screen, and the next modal dialog runs the
// script once it is up (ending it with -1 if the script leaves it open).
using MessageBoxInterceptor =
    std::function<void(const std::string& text, const std::string& caption, UINT type)>;
void SetMessageBoxInterceptor(MessageBoxInterceptor interceptor);
const MessageBoxInterceptor& GetMessageBoxInterceptor();
using ModalHook = std::function<void(CDialog&)>;
void SetModalHook(ModalHook hook);
ModalHook TakeModalHook();

}  // namespace platform
