// The application object: one global instance whose InitInstance runs
// the program; the layer's entry point calls it.
#pragma once

#include "platform/CmdTarget.h"
#include "platform/Wnd.h"

class CWinApp : public CCmdTarget {
 public:
  CWinApp();
  ~CWinApp() override;

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // F1: there is no help file; nothing is shown.
  void OnHelp();
  const MessageMap* GetMessageMap() const override;

  CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
// Hosting of embedded controls: no template uses any, so nothing to do.
inline void AfxEnableControlContainer() {}
// Runs the global application object; main() returns its result.
int AfxWinMain(int argc, char** argv);
