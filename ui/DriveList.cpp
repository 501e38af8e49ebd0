// The drive box: the machine's local drives, bare at start-up and with
// their volume labels each time the list opens.
#include <string>

#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"

namespace {

// Letters without a drive and network drives are not offered.
bool IsOffered(const char* root) {
  const UINT type = GetDriveTypeA(root);
  return type != DRIVE_NO_ROOT_DIR && type != DRIVE_REMOTE;
}

}  // namespace

void CRavik1Dlg::FillDriveList() {
  CComboBox& drives = Combo(IDC_DRIVE);
  drives.ResetContent();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[] = {letter, ':', '\0'};
    if (!IsOffered(root)) continue;
    const int index = drives.AddString(root);
    drives.SetItemToolTip(index, QueryMountPoint(root));
  }
  drives.SetCurSel(0);
}

void CRavik1Dlg::OnDropdownDrive() {
  CComboBox& drives = Combo(IDC_DRIVE);
  drives.ResetContent();
  size_t longestLabel = 0;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[] = {letter, ':', '\0'};
    if (!IsOffered(root)) continue;
    const std::string label = QueryVolumeLabel(root);  // empty when it cannot be read
    if (label.size() > longestLabel) longestLabel = label.size();
    const int index = drives.AddString(std::string(root) + " " + FromCodePage(label));
    drives.SetItemToolTip(index, QueryMountPoint(root));
  }
  drives.SetWindowPos(nullptr, 0, 0, 89, 500, SWP_NOMOVE);
  // Ten pixels for each byte of the longest label, not of the longest entry.
  drives.SetDroppedWidth(static_cast<int>(10 * longestLabel));
  drives.SetCurSel(0);
}
