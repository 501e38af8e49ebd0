// IDD_MAIN: the main window. The order of the controls is their creation
// order, sibling order and tab order, and WS_GROUP in that order decides
// the radio groups, so the order below is part of the layout.
#include "res/Dialogs.h"

namespace resources {
namespace {

constexpr DWORD G = WS_GROUP;
constexpr DWORD T = WS_TABSTOP;

constexpr ControlTemplate kControls[] = {
    GroupBox("Konfiguration", 6, 3, 319, 231),
    PushButton(IDC_EXIT, "Beenden", 244, 240, 65, 14, T),
    PushButton(IDC_INFO, "Info", 170, 240, 65, 14, T),

    // Operating mode. The check box and the untitled frame lie within the
    // range of the mode group; only radios take part in its unchecking.
    GroupBox("Betriebsmodus", 159, 18, 158, 125),
    RadioButton(IDC_MODE_RECORD, "Aufnahme (Record)", 168, 30, 77, 10, G | T),
    RadioButton(IDC_MODE_PLAY, "Wiedergabe (Play) :", 168, 43, 78, 10),
    CheckBox(IDC_DEVICE_BAUD, "Baudrate am Ravik 1 einstellen", 183, 55, 111, 10, T),
    GroupBox("", 163, 65, 150, 75),
    StaticText("Wiedergabedatei :", 172, 76, 59, 8, G),
    Edit(IDC_PLAYFILE, 233, 74, 56, 13, T),
    PushButton(IDC_NAME_HELP, "?", 293, 74, 14, 12, T),
    StaticText("Anzahl der Wiedergaben :", 172, 91, 83, 8, G),
    RadioButton(IDC_REPEAT_ONCE, "1 mal", 183, 102, 33, 10, G | T),
    RadioButton(IDC_REPEAT_COUNT, "Wert (1 bis 254) :", 183, 114, 70, 10),
    // Between two radios of the repeat group: arrow keys pass over it.
    Edit(IDC_REPEAT_VALUE, 253, 112, 21, 13, T),
    RadioButton(IDC_REPEAT_ENDLESS, "endlos (bis Abbruch mit Taste)", 183, 126, 111, 10),

    // Slot files on the stick
    GroupBox("Konfigurations-Datei laden/speichern", 159, 145, 158, 85),
    StaticText("USB-Stick-Laufwerk :", 170, 160, 69, 8, G),
    // The height covers the closed field and the dropped-down list.
    ComboBox(IDC_DRIVE, 241, 158, 59, 17, T),
    PushButton(IDC_LOAD_CONFIG1, "Lade Config1", 170, 177, 68, 12, T),
    PushButton(IDC_SAVE_CONFIG1, "Speicher Config1", 241, 177, 68, 12, T),
    PushButton(IDC_LOAD_CONFIG2, "Lade Config2", 170, 195, 68, 12, T),
    PushButton(IDC_SAVE_CONFIG2, "Speicher Config2", 241, 195, 68, 12, T),
    PushButton(IDC_LOAD_CONFIG3, "Lade Config3", 170, 213, 68, 12, T),
    PushButton(IDC_SAVE_CONFIG3, "Speicher Config3", 241, 213, 68, 12, T),

    // Baud rate: 1051 and 1052 are no controls.
    GroupBox("Baudrate (bit/s)", 14, 18, 62, 212),
    RadioButton(IDC_BAUD_300, "300", 22, 31, 28, 10, G | T),
    RadioButton(IDC_BAUD_600, "600", 22, 45, 28, 10),
    RadioButton(IDC_BAUD_1200, "1200", 22, 59, 32, 10),
    RadioButton(IDC_BAUD_2400, "2400", 22, 73, 32, 10),
    RadioButton(IDC_BAUD_4800, "4800", 22, 87, 32, 10),
    RadioButton(IDC_BAUD_9600, "9600", 22, 101, 32, 10),
    RadioButton(IDC_BAUD_14400, "14.400", 22, 115, 38, 10),
    RadioButton(IDC_BAUD_19200, "19.200", 22, 129, 38, 10),
    RadioButton(IDC_BAUD_28800, "28.800", 22, 143, 38, 10),
    RadioButton(IDC_BAUD_38400, "38.400", 22, 157, 38, 10),
    RadioButton(IDC_BAUD_57600, "57.600", 22, 171, 38, 10),
    RadioButton(IDC_BAUD_76800, "76.800", 22, 185, 38, 10),
    RadioButton(IDC_BAUD_115200, "115.200", 22, 199, 42, 10),
    RadioButton(IDC_BAUD_230400, "(230.400 *)", 22, 213, 51, 10),

    // The one start-bit radio starts a group of its own but is no tab stop.
    GroupBox("Start-Bit", 80, 18, 75, 28),
    RadioButton(IDC_STARTBIT_1, "1", 88, 31, 20, 10, G),

    GroupBox("Daten-Bits", 80, 52, 75, 65),
    RadioButton(IDC_DATABITS_5, "5", 88, 64, 20, 10, G | T),
    RadioButton(IDC_DATABITS_6, "6", 88, 77, 20, 10),
    RadioButton(IDC_DATABITS_7, "7", 88, 90, 20, 10),
    RadioButton(IDC_DATABITS_8, "8", 88, 103, 20, 10),

    GroupBox("Stopp-Bit(s)", 80, 124, 75, 42),
    RadioButton(IDC_STOPBITS_1, "1", 88, 137, 20, 10, G | T),
    RadioButton(IDC_STOPBITS_2, "2", 88, 150, 20, 10),

    GroupBox("Parität", 80, 173, 75, 57),
    RadioButton(IDC_PARITY_NONE, "keine (none)", 88, 187, 55, 10, G | T),
    RadioButton(IDC_PARITY_EVEN, "gerade (even)", 88, 200, 60, 10),
    RadioButton(IDC_PARITY_ODD, "ungerade (odd)", 88, 213, 64, 10),

    // The asterisk answers the one in "(230.400 *)". WS_GROUP closes the
    // parity group.
    StaticText("* Außerhalb der MAX232-Spezifikation.\n"
               "  Im Test jedoch fehlerfrei.",
               15, 238, 130, 16, G),
};

}  // namespace

constinit const DialogTemplate kMainDialog{
    IDD_MAIN,
    "Vendra - Serial to USB-Stick Datalogger - Ravik 1",
    0,
    0,
    332,
    262,
    kDialogFont,
    kDialogFontSize,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW,
    kControls,
};

}  // namespace resources
