// A test seam of the Win32 drive and file services: while one is set, the
// drive letters, their types, labels and folders, and the paths CFile
// opens come from it instead of the machine. The product never sets one.
#pragma once

#include <string>

#include "platform/Types.h"

namespace platform::win32 {

class DriveOverride {
 public:
  virtual ~DriveOverride() = default;
  // As GetDriveTypeA; root is a letter and a colon.
  virtual UINT DriveType(const char* root) const = 0;
  // In the program's code page, at most 255 bytes.
  virtual std::string VolumeLabel(const char* root) const = 0;
  // The folder that stands for the drive, as Windows writes paths.
  virtual std::string MountPoint(const char* root) const = 0;
  // The file a Windows path (UTF-8) names; false, with a Windows error
  // code, when it names none.
  virtual bool MapPath(const std::string& windowsPath, std::string* mapped,
                       unsigned long* error) const = 0;
};

// nullptr when the machine's own drives are used.
const DriveOverride* CurrentDriveOverride();
// Returns the override it replaces.
const DriveOverride* SetDriveOverride(const DriveOverride* drives);

}  // namespace platform::win32
