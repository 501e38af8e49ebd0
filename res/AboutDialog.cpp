// IDD_ABOUTBOX: product line, version, the maker's web address and notice
// beside the picture of the logger. "OK" is the only tab stop and the
// default button, so Enter closes the box.
#include "res/Dialogs.h"
#include "res/VersionInfo.h"

namespace resources {
namespace {

constexpr ControlTemplate kControls[] = {
    StaticText("Serial to USB-Stick Datalogger - Ravik 1", 108, 7, 131, 8, SS_NOPREFIX | WS_GROUP),
    StaticText(RAVIK_LEGAL_COPYRIGHT, 108, 56, 174, 8, WS_GROUP),
    DefPushButton(IDOK, "OK", 244, 7, 50, 14, WS_GROUP | WS_TABSTOP),
    // Independent of the version information (1.0.0.0) on purpose.
    StaticText("Version 1.1", 108, 22, 36, 8, WS_GROUP),
    // The label is 38 units wide, room for about nine characters of the
    // dialog font; "www." in front would be cut off.
    StaticText("vendra.de", 108, 42, 38, 8, WS_GROUP),
    // The control takes the size of the bitmap, 132 x 78 px.
    StaticBitmap(IDB_ABOUT, 7, 15, 88, 48),
};

}  // namespace

constinit const DialogTemplate kAboutDialog{
    IDD_ABOUTBOX,
    "Info über Ravik 1",
    0,
    0,
    301,
    78,
    kDialogFont,
    kDialogFontSize,
    // No WS_VISIBLE: the modal run shows the box once it is built.
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    kControls,
};

}  // namespace resources
