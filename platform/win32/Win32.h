// The one way the Win32 backend includes <windows.h>. The layer's own
// Types.h names the same messages and styles with the same numbers, but
// declares DWORD as std::uint32_t and HICON as its own icon handle, so
// Windows' typedefs of those two are renamed (WinDword, WinIcon) while the
// system headers are read. The ANSI/wide macros that would rename the
// layer's members (MessageBox, SendMessage, ...) are removed afterwards:
// backend code calls the wide functions by their W names.
//
// A file that also includes the layer's Wnd.h or Drives.h defines
// RAVIK_WIN32_BESIDE_LAYER first: those declare GetSystemMetrics and
// GetDriveTypeA of the layer's own, and Windows' declarations are then
// kept out of the way (such a file calls neither of Windows' two). One
// that needs the accessibility interfaces defines RAVIK_WIN32_ACCESSIBILITY,
// so that they are read with the same renaming.
#pragma once

#include "platform/Types.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#define DWORD WinDword
#define HICON WinIcon
#ifdef RAVIK_WIN32_BESIDE_LAYER
#define GetSystemMetrics RavikHiddenGetSystemMetrics
#define GetDriveTypeA RavikHiddenGetDriveTypeA
#endif
#include <windows.h>
#ifdef RAVIK_WIN32_ACCESSIBILITY
#include <oleacc.h>
#endif
#undef DWORD
#undef HICON
#ifdef RAVIK_WIN32_BESIDE_LAYER
#undef GetSystemMetrics
#undef GetDriveTypeA
// platform/Drives.h names the drive types itself, with Windows' numbers.
#undef DRIVE_UNKNOWN
#undef DRIVE_NO_ROOT_DIR
#undef DRIVE_REMOVABLE
#undef DRIVE_FIXED
#undef DRIVE_REMOTE
#undef DRIVE_CDROM
#undef DRIVE_RAMDISK
#endif

#undef AppendMenu
#undef CreateWindow
#undef DispatchMessage
#undef GetDlgItemText
#undef GetWindowText
#undef LoadString
#undef MessageBox
#undef SendMessage
#undef SetWindowText
