// Drive letters and what the drive box shows of them. A root is two
// characters, a letter and a colon ("E:"), with no backslash.
#pragma once

#include <string>

#include "platform/Types.h"

inline constexpr UINT DRIVE_UNKNOWN = 0;
inline constexpr UINT DRIVE_NO_ROOT_DIR = 1;
inline constexpr UINT DRIVE_REMOVABLE = 2;
inline constexpr UINT DRIVE_FIXED = 3;
inline constexpr UINT DRIVE_REMOTE = 4;
inline constexpr UINT DRIVE_CDROM = 5;
inline constexpr UINT DRIVE_RAMDISK = 6;

// The type of the drive; DRIVE_NO_ROOT_DIR when there is no such drive or
// root is not a letter and a colon.
UINT GetDriveTypeA(const char* root);

// The volume label in the program's 8-bit code page, at most 255 bytes;
// empty when there is none or it cannot be read.
std::string QueryVolumeLabel(const char* root);

// Where the drive's volume lives on this machine (UTF-8), for a person to
// tell the letters apart; empty when there is none.
std::string QueryMountPoint(const char* root);
