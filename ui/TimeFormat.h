// The rules a playback file name on the stick must follow: advice only,
// nothing checks the name.
#pragma once

#include "platform/Dialog.h"
#include "res/resource.h"

class CTimeFormat : public CDialog {
 public:
  CTimeFormat() : CDialog(IDD_TIMEFORMAT) {}
};
