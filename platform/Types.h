// The basic types, message numbers, notification codes and style bits of
// the dialog framework layer. The numbers are those of the Windows dialog
// manager, so templates and handlers read the same on every backend.
#pragma once

#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// An icon handle: a loaded icon group. The icon itself belongs to the
// backend and lives as long as the process.
struct IconResource;
using HICON = const IconResource*;

struct CRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) {
  return static_cast<WPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr unsigned LOWORD(WPARAM w) { return static_cast<unsigned>(w & 0xFFFFu); }
constexpr unsigned HIWORD(WPARAM w) { return static_cast<unsigned>((w >> 16) & 0xFFFFu); }

// Messages
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_ICONERASEBKGND = 0x0027;
inline constexpr UINT WM_QUERYDRAGICON = 0x0037;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;

// Command ids
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int ID_HELP = 0xE146;  // 57670, raised by F1

// Notification codes
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT CBN_DROPDOWN = 7;
inline constexpr UINT EN_CHANGE = 0x0300;

// System commands
inline constexpr UINT SC_CLOSE = 0xF060;

// Button states
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

// Message box styles
inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_ICONERROR = 0x10;

// Window positioning, icons, metrics
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;

// Menu items
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;

// Window styles
inline constexpr DWORD WS_POPUP = 0x80000000u;
inline constexpr DWORD WS_CHILD = 0x40000000u;
inline constexpr DWORD WS_VISIBLE = 0x10000000u;
inline constexpr DWORD WS_DISABLED = 0x08000000u;
inline constexpr DWORD WS_CAPTION = 0x00C00000u;
inline constexpr DWORD WS_BORDER = 0x00800000u;
inline constexpr DWORD WS_VSCROLL = 0x00200000u;
inline constexpr DWORD WS_SYSMENU = 0x00080000u;
inline constexpr DWORD WS_GROUP = 0x00020000u;
inline constexpr DWORD WS_TABSTOP = 0x00010000u;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;

// Dialog styles
inline constexpr DWORD DS_SETFONT = 0x40u;
inline constexpr DWORD DS_MODALFRAME = 0x80u;

// Button styles
inline constexpr DWORD BS_PUSHBUTTON = 0x0u;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x1u;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x3u;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x9u;
inline constexpr DWORD BS_GROUPBOX = 0x7u;

// Static styles
inline constexpr DWORD SS_LEFT = 0x0u;
inline constexpr DWORD SS_BITMAP = 0xEu;
inline constexpr DWORD SS_NOPREFIX = 0x80u;

// Edit styles
inline constexpr DWORD ES_LEFT = 0x0u;
inline constexpr DWORD ES_AUTOHSCROLL = 0x80u;

// Combo box styles
inline constexpr DWORD CBS_DROPDOWN = 0x2u;
inline constexpr DWORD CBS_SORT = 0x100u;
