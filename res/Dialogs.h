// The dialog templates of res/, and the shorthands they are written with.
// Private to res/: everyone else finds a template through
// FindDialogTemplate().
#pragma once

#include "platform/DialogTemplate.h"
#include "res/resource.h"

// Captions are UTF-8; a compiler that reads the sources in another code
// page would garble every umlaut without a word.
static_assert(sizeof("ü") == 3, "compile res/ with a UTF-8 execution character set");

namespace resources {

// constinit: the layer may look a template up from any static initialiser.
extern constinit const DialogTemplate kAboutDialog;
extern constinit const DialogTemplate kMainDialog;
extern constinit const DialogTemplate kTimeFormatDialog;

// One shorthand per control kind, each adding the kind's own style bits, so
// the tables only name what differs: WS_GROUP, WS_TABSTOP and the few extra
// bits a control has. WS_CHILD and WS_VISIBLE are the layer's to add.

constexpr ControlTemplate PushButton(int id, const char* text, int x, int y, int cx, int cy,
                                     DWORD style = 0) {
  return {id, ControlKind::PushButton, text, x, y, cx, cy, BS_PUSHBUTTON | style, 0};
}
constexpr ControlTemplate DefPushButton(int id, const char* text, int x, int y, int cx, int cy,
                                        DWORD style = 0) {
  return {id, ControlKind::PushButton, text, x, y, cx, cy, BS_DEFPUSHBUTTON | style, 0};
}
constexpr ControlTemplate RadioButton(int id, const char* text, int x, int y, int cx, int cy,
                                      DWORD style = 0) {
  return {id, ControlKind::RadioButton, text, x, y, cx, cy, BS_AUTORADIOBUTTON | style, 0};
}
constexpr ControlTemplate CheckBox(int id, const char* text, int x, int y, int cx, int cy,
                                   DWORD style = 0) {
  return {id, ControlKind::CheckBox, text, x, y, cx, cy, BS_AUTOCHECKBOX | style, 0};
}
constexpr ControlTemplate GroupBox(const char* text, int x, int y, int cx, int cy,
                                   DWORD style = 0) {
  return {IDC_STATIC, ControlKind::GroupBox, text, x, y, cx, cy, BS_GROUPBOX | style, 0};
}
constexpr ControlTemplate StaticText(const char* text, int x, int y, int cx, int cy,
                                     DWORD style = 0) {
  return {IDC_STATIC, ControlKind::StaticText, text, x, y, cx, cy, SS_LEFT | style, 0};
}
constexpr ControlTemplate StaticBitmap(int imageId, int x, int y, int cx, int cy, DWORD style = 0) {
  return {IDC_STATIC, ControlKind::StaticBitmap, "", x, y, cx, cy, SS_BITMAP | style, imageId};
}
// Single-line, left-aligned, framed, scrolling sideways when the text is
// longer than the field.
constexpr ControlTemplate Edit(int id, int x, int y, int cx, int cy, DWORD style = 0) {
  constexpr DWORD kEdit = ES_LEFT | WS_BORDER | ES_AUTOHSCROLL;
  return {id, ControlKind::Edit, "", x, y, cx, cy, kEdit | style, 0};
}
// An editable field over a sorted drop-down list.
constexpr ControlTemplate ComboBox(int id, int x, int y, int cx, int cy, DWORD style = 0) {
  constexpr DWORD kCombo = CBS_DROPDOWN | CBS_SORT | WS_VSCROLL;
  return {id, ControlKind::ComboBox, "", x, y, cx, cy, kCombo | style, 0};
}

// Every dialog of the program uses this font.
inline constexpr const char* kDialogFont = "MS Sans Serif";
inline constexpr int kDialogFontSize = 8;

}  // namespace resources
