// Resource identifiers of the program: dialogs, controls, strings, menu
// commands, the icon group and bitmaps. Kept as plain macros so that the
// Windows resource compiler can read this file as well as C++.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_TIMEFORMAT 132

// Strings
#define IDS_ABOUTBOX 101

// Menu commands
#define IDM_ABOUTBOX 0x0010

// Icon group and bitmaps
#define IDR_MAINFRAME 128
#define IDB_ABOUT 136

// Controls of the main window
#define IDC_PLAYFILE 1013
#define IDC_INFO 1020
#define IDC_SAVE_CONFIG1 1022
#define IDC_LOAD_CONFIG1 1030
#define IDC_SAVE_CONFIG3 1031
#define IDC_LOAD_CONFIG2 1032
#define IDC_SAVE_CONFIG2 1033
#define IDC_LOAD_CONFIG3 1034
#define IDC_STARTBIT_1 1035
#define IDC_EXIT 1040
#define IDC_DRIVE 1041
#define IDC_STOPBITS_1 1042
#define IDC_STOPBITS_2 1043
#define IDC_REPEAT_VALUE 1046
#define IDC_BAUD_300 1050
// 1051 and 1052 are not used by any control.
#define IDC_BAUD_600 1053
#define IDC_BAUD_1200 1054
#define IDC_BAUD_2400 1055
#define IDC_BAUD_4800 1056
#define IDC_BAUD_9600 1057
#define IDC_BAUD_14400 1058
#define IDC_BAUD_19200 1059
#define IDC_BAUD_28800 1060
#define IDC_BAUD_38400 1061
#define IDC_BAUD_57600 1062
#define IDC_BAUD_76800 1063
#define IDC_BAUD_115200 1064
#define IDC_BAUD_230400 1065
#define IDC_DATABITS_5 1066
#define IDC_DATABITS_6 1067
#define IDC_DATABITS_7 1068
#define IDC_DATABITS_8 1069
#define IDC_MODE_RECORD 1070
#define IDC_MODE_PLAY 1071
#define IDC_REPEAT_ONCE 1072
#define IDC_REPEAT_COUNT 1073
#define IDC_REPEAT_ENDLESS 1074
#define IDC_PARITY_NONE 1075
#define IDC_PARITY_EVEN 1076
#define IDC_PARITY_ODD 1077
#define IDC_DEVICE_BAUD 1078
#define IDC_NAME_HELP 1079

// Frames and labels that no code addresses
#define IDC_STATIC (-1)
