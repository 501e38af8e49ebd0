#include "platform/Wnd.h"

#include <algorithm>
#include <cstring>

#include "platform/Backend.h"
#include "platform/CodePage.h"

BOOL CWnd::EnableWindow(BOOL enable) {
  const bool wasDisabled = !m_peer->IsEnabled();
  m_peer->SetEnabled(enable != FALSE);
  return wasDisabled ? TRUE : FALSE;
}

BOOL CWnd::IsWindowEnabled() const { return m_peer->IsEnabled() ? TRUE : FALSE; }

void CWnd::SetWindowText(const CString& text) { m_peer->SetText(text.str()); }

void CWnd::GetWindowText(CString& text) const { text = CString(m_peer->Text()); }

int CWnd::GetWindowText(char* buffer, int maxCount) const {
  if (!buffer || maxCount <= 0) return 0;
  CString text;
  GetWindowText(text);
  const std::string bytes = ToCodePage(text.str());
  const size_t count = std::min(bytes.size(), static_cast<size_t>(maxCount - 1));
  std::memcpy(buffer, bytes.data(), count);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int, int, int cx, int cy, UINT flags) {
  constexpr UINT kNoZOrder = 0x0004;
  if (!(flags & SWP_NOSIZE)) m_peer->SetSize(cx, cy);
  if (!insertAfter && !(flags & kNoZOrder)) m_peer->RaiseToTop();
  return TRUE;
}

int CButton::GetCheck() const { return m_peer->GetCheck(); }
void CButton::SetCheck(int check) { m_peer->SetCheck(check); }

void CEdit::LimitText(int chars) { m_peer->SetLimit(chars); }

void CComboBox::ResetContent() { m_peer->ResetContent(); }
int CComboBox::AddString(const CString& text) { return m_peer->AddString(text.str()); }
int CComboBox::GetCount() const { return m_peer->Count(); }
int CComboBox::SetCurSel(int index) { return m_peer->SetCurSel(index); }
int CComboBox::SetDroppedWidth(int pixels) {
  m_peer->SetDroppedWidth(pixels);
  return pixels;
}
void CComboBox::SetItemToolTip(int index, const CString& text) {
  m_peer->SetItemToolTip(index, text.str());
}

int GetSystemMetrics(int index) { return platform::SystemMetric(index); }
HICON LoadIconResource(UINT id) { return platform::LoadIconGroup(id); }
