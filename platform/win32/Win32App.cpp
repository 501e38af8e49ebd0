// The program's entry into Windows: the process-wide settings of the
// framework, then the global application object runs. No command-line
// option reaches it.
#define RAVIK_WIN32_BESIDE_LAYER
#include "platform/win32/Win32.h"

#include "platform/WinApp.h"

int AfxWinMain(int, char**) {
  // A query or open on a drive without a medium fails quietly instead of
  // asking the person to insert one.
  SetErrorMode(SEM_FAILCRITICALERRORS);
  CWinApp* app = AfxGetApp();
  if (!app) return 0;
  // The main window's modal run is the whole program; there is no loop of
  // the application's own after InitInstance.
  app->InitInstance();
  return app->ExitInstance();
}
