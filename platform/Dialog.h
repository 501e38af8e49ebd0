// Dialogs built from templates, run modally (or, for tests, modeless).
#pragma once

#include <map>
#include <memory>
#include <optional>

#include "platform/Backend.h"
#include "platform/Wnd.h"

class CPaintDC;

class CDialog : public CWnd, private platform::MessageSink {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  explicit CDialog(const DialogTemplate& dialog, CWnd* parent = nullptr);
  ~CDialog() override;

  // Shows the dialog and returns when it ends, with the EndDialog code;
  // -1 when the window cannot be created.
  virtual INT_PTR DoModal();
  // Creates and shows the dialog without a loop of its own.
  BOOL Create();
  void EndDialog(int result);
  bool IsCreated() const { return m_window != nullptr; }
  std::optional<INT_PTR> Result() const { return m_result; }

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  CWnd* GetDlgItem(int id) const;
  CButton& Button(int id) const;
  CEdit& Edit(int id) const;
  CComboBox& Combo(int id) const;
  int GetDlgItemText(int id, CString& text) const;
  // The text read as a signed decimal number: 0 when empty or not a number.
  int GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;

  void SetWindowText(const CString& text) override;
  int MessageBox(const CString& text, const CString& caption, UINT type = MB_OK);
  CMenu* GetSystemMenu(BOOL revert);
  HICON SetIcon(HICON icon, BOOL big);
  BOOL IsIconic() const;
  void GetClientRect(CRect* rect) const;
  // Nothing to exchange: the program keeps no control variables.
  BOOL UpdateData(BOOL save = TRUE);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  const MessageMap* GetMessageMap() const override;
  const DialogTemplate& Template() const { return *m_template; }
  platform::DialogPeer* Peer() const { return m_window.get(); }

 protected:
  void OnPaint();
  // The default handling of the message being dispatched.
  LRESULT Default();

 private:
  friend class CPaintDC;
  LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL CreateWindow(bool modal);
  void DestroyWindow();
  template <class T>
  T& TypedItem(int id) const;

  const DialogTemplate* m_template;
  CWnd* m_parent;
  std::unique_ptr<platform::DialogPeer> m_window;
  std::map<int, std::unique_ptr<CWnd>> m_items;
  std::unique_ptr<CMenu> m_systemMenu;
  std::optional<INT_PTR> m_result;
  bool m_modal = false;
  struct Current {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::optional<Current> m_current;
};

// Painting of a dialog, valid inside its WM_PAINT handler.
class CPaintDC {
 public:
  explicit CPaintDC(CDialog* dialog) : m_dialog(dialog) {}
  void DrawIcon(int x, int y, HICON icon);
  WPARAM GetSafeHdc() const { return reinterpret_cast<WPARAM>(this); }

 private:
  CDialog* m_dialog;
};

// The dialog that is the application's main window, if any: it owns every
// dialog opened without a parent.
CDialog* MainWindow();
