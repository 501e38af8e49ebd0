#include "platform/win32/DriveOverride.h"

#include <utility>

namespace platform::win32 {

namespace {
const DriveOverride* g_drives = nullptr;
}

const DriveOverride* CurrentDriveOverride() {
  return g_drives;
}
const DriveOverride* SetDriveOverride(const DriveOverride* drives) {
  return std::exchange(g_drives, drives);
}

}  // namespace platform::win32
