// Prints the root ("E:") that the drive services give the volume mounted
// at argv[1], so the end-to-end test types the letter the program itself
// would list, whatever other volumes the machine has. Every listed drive
// goes to stderr for the test log. Exits 1 when no drive has the mount.
#include <cstdio>
#include <string>

#include "platform/Drives.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s MOUNT_POINT\n", argv[0]);
    return 2;
  }
  const std::string wanted = argv[1];
  std::string found;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[3] = {letter, ':', '\0'};
    const UINT type = GetDriveTypeA(root);
    if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_REMOTE) continue;  // as the drive box skips them
    const std::string mountPoint = QueryMountPoint(root);
    std::fprintf(stderr, "  drive %s type %u at %s\n", root, type, mountPoint.c_str());
    if (found.empty() && mountPoint == wanted) found = root;
  }
  if (found.empty()) return 1;
  std::printf("%s\n", found.c_str());
  return 0;
}
