// A dialog described as data: the window and its controls in template
// order. That order is the creation order, the sibling order, the tab
// order, and it decides the radio groups (WS_GROUP starts a group).
#pragma once

#include <span>

#include "platform/Types.h"

enum class ControlKind {
  PushButton,    // BS_PUSHBUTTON or BS_DEFPUSHBUTTON
  RadioButton,   // BS_AUTORADIOBUTTON
  CheckBox,      // BS_AUTOCHECKBOX
  GroupBox,      // BS_GROUPBOX: a frame with its caption on the top edge
  StaticText,    // SS_LEFT; "\n" breaks the line
  StaticBitmap,  // SS_BITMAP; imageId names the bitmap resource
  Edit,          // single-line edit with border
  ComboBox,      // CBS_DROPDOWN: editable field over a drop-down list
};

struct ControlTemplate {
  int id;             // -1 for frames and labels that no code addresses
  ControlKind kind;
  const char* text;   // UTF-8; "" when the control has no caption
  int x, y, cx, cy;   // dialog units
  DWORD style;        // WS_GROUP, WS_TABSTOP and the kind's own style bits
  int imageId = 0;    // StaticBitmap only
};

struct DialogTemplate {
  UINT id;
  const char* caption;  // UTF-8
  int x, y, cx, cy;     // dialog units
  const char* fontName;
  int pointSize;
  DWORD style;
  DWORD exStyle;
  std::span<const ControlTemplate> controls;
};
