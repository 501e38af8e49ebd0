#include "app/Ravik1App.h"

#include "ui/Ravik1Dlg.h"

// The one application object of the process.
CRavik1App theApp;

BOOL CRavik1App::InitInstance() {
  AfxEnableControlContainer();
  CRavik1Dlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();  // the result is not looked at: both ends quit
  // No loop of the application's own: the program ends with its window.
  return FALSE;
}
