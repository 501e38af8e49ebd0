// Lookup of dialog templates and strings by resource id.
#include "platform/Resources.h"

#include "res/Dialogs.h"

const DialogTemplate* FindDialogTemplate(UINT id) {
  for (const DialogTemplate* dialog :
       {&resources::kAboutDialog, &resources::kMainDialog, &resources::kTimeFormatDialog}) {
    if (dialog->id == id) return dialog;
  }
  return nullptr;
}

const char* FindStringResource(UINT id) {
  switch (id) {
    // The system-menu entry; & marks o as its access key.
    case IDS_ABOUTBOX:
      return "Inf&o über Ravik 1...";
    default:
      return nullptr;
  }
}
