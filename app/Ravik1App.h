// The application object: starts the main window and ends with it.
#pragma once

#include "platform/WinApp.h"

class CRavik1App : public CWinApp {
 public:
  BOOL InitInstance() override;
};
