// The program's entry into Qt: one QApplication for the process, then the
// global application object runs. No command-line option reaches either.
#include <QApplication>

#include "platform/WinApp.h"

int AfxWinMain(int, char** argv) {
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QApplication application(qtArgc, qtArgv);
  QApplication::setQuitOnLastWindowClosed(false);
  CWinApp* app = AfxGetApp();
  if (!app) return 0;
  // The program never runs a loop of its own after InitInstance: its main
  // window's modal run is the whole program.
  app->InitInstance();
  return app->ExitInstance();
}
