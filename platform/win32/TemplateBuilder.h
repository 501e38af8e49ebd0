// A dialog template of the layer as the in-memory extended dialog
// template (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items) that the Windows
// dialog manager builds windows from.
#pragma once

#include <vector>

#include "platform/DialogTemplate.h"

namespace platform::win32 {

// WORD-aligned; the first WORD is the dlgVer 1 of the extended format.
// WS_VISIBLE is left out of the window's style: the layer shows the window
// once OnInitDialog has given the controls their state.
std::vector<unsigned short> BuildDialogTemplate(const DialogTemplate& dialog);

}  // namespace platform::win32
