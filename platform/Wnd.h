// Windows and controls of the dialog layer: the operations the program
// uses, each a typed member function.
#pragma once

#include <string>

#include "platform/CString.h"
#include "platform/CmdTarget.h"
#include "platform/Types.h"

namespace platform {
class ControlPeer;
}

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  int GetDlgCtrlID() const { return m_id; }
  virtual BOOL EnableWindow(BOOL enable = TRUE);
  virtual BOOL IsWindowEnabled() const;
  virtual void SetWindowText(const CString& text);
  virtual void GetWindowText(CString& text) const;
  // Copies at most maxCount - 1 bytes of the text, in the program's 8-bit
  // code page, and a terminating zero; returns the bytes copied.
  int GetWindowText(char* buffer, int maxCount) const;
  // Only resizing is supported: cx, cy in pixels. Without SWP_NOZORDER the
  // window is raised to the top of its siblings (so first in tab order).
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);

 protected:
  friend class CDialog;
  platform::ControlPeer* m_peer = nullptr;
  int m_id = 0;
};

class CButton : public CWnd {
 public:
  int GetCheck() const;
  void SetCheck(int check);
};

class CEdit : public CWnd {
 public:
  void LimitText(int chars);
};

class CComboBox : public CWnd {
 public:
  void ResetContent();
  // Inserts into the list, kept sorted case-insensitively; returns the index.
  int AddString(const CString& text);
  int GetCount() const;
  int SetCurSel(int index);
  int SetDroppedWidth(int pixels);
  void SetItemToolTip(int index, const CString& text);
};

class CStatic : public CWnd {};

// The window's system menu, where the platform has one.
class CMenu {
 public:
  virtual ~CMenu() = default;
  virtual BOOL AppendMenu(UINT flags, UINT id = 0, const char* text = nullptr) = 0;
};

int GetSystemMetrics(int index);
// The icon group of the program's resources; nullptr when there is none.
HICON LoadIconResource(UINT id);
