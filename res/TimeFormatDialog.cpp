// IDD_TIMEFORMAT: the rules a playback file name on the stick must follow.
#include "res/Dialogs.h"

namespace resources {
namespace {

// Seven lines. Line 7 holds the acute accent U+00B4 (not an apostrophe)
// third and the grave accent U+0060 eighth; the escape keeps the acute
// from being mistaken for, or "corrected" into, an apostrophe.
constexpr const char* kRules =
    "[1 bis 8 Zeichen] + [Punkt] + [1 bis 3 Zeichen]\n"
    "\n"
    "Zulässige Zeichen im Dateinamen:\n"
    "\n"
    "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z\n"
    "a b c d e f g h i j k l m n o p q r s t u v w x y z\n"
    "$ % \u00B4 - _ @ ~ ` ! ( ) { } ^ # &";

constexpr ControlTemplate kControls[] = {
    DefPushButton(IDOK, "OK", 86, 80, 50, 14, WS_TABSTOP),
    StaticText(kRules, 16, 13, 181, 61, WS_GROUP),
    // Frames the text and, at its lower edge, the button.
    GroupBox("", 7, 3, 192, 96),
};

}  // namespace

constinit const DialogTemplate kTimeFormatDialog{
    IDD_TIMEFORMAT,
    "Format der Dateinamen für Wiedergabe-Datei",
    0,
    0,
    206,
    106,
    kDialogFont,
    kDialogFontSize,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    kControls,
};

}  // namespace resources
