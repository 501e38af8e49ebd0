#include "platform/WinApp.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }
void CWinApp::OnHelp() {}

const MessageMap* CWinApp::GetMessageMap() const {
  static const MessageEntry entries[] = {OnCommand(ID_HELP, &CWinApp::OnHelp)};
  static const MessageMap map{CCmdTarget::GetMessageMap(), entries};
  return &map;
}

CWinApp* AfxGetApp() { return g_app; }
