// Saving the window's settings into a configuration slot on the stick,
// and loading a slot back into the window.
#include <string>

#include "config/CodeTables.h"
#include "config/ConfigRecord.h"
#include "config/SlotFile.h"
#include "platform/CodePage.h"
#include "platform/File.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"
#include "ui/SlotButtons.h"

namespace {

int SlotOfButton(UINT id, bool save) {
  for (const auto& buttons : kSlotButtons) {
    if (static_cast<int>(id) == (save ? buttons.saveId : buttons.loadId)) return buttons.slot;
  }
  return 0;
}

std::string Quoted(int slot) { return "Datei '" + ConfigSlotFileName(slot) + "'"; }

}  // namespace

void CRavik1Dlg::OnSaveButton(UINT id) {
  if (const int slot = SlotOfButton(id, true)) SaveConfigSlot(slot);
}

void CRavik1Dlg::OnLoadButton(UINT id) {
  if (const int slot = SlotOfButton(id, false)) LoadConfigSlot(slot);
}

void CRavik1Dlg::SaveConfigSlot(int slot) {
  // The name field holds at most 12 bytes of the edit's text.
  char name[13];
  GetDlgItem(IDC_PLAYFILE)->GetWindowText(name, sizeof name);
  CString drive;
  GetDlgItemText(IDC_DRIVE, drive);
  const std::string path = ConfigSlotPath(drive, slot);

  try {
    if (!WriteSlotFile(path, EncodeConfigRecord(m_settings, name))) {
      MessageBox(Quoted(slot) +
                     " konnte nicht erstellt werden!\nLaufwerk gewählt? Schreibschutz vorhanden?",
                 "Fehler", MB_ICONERROR);
    }
  } catch (const CFileException& failure) {
    if (failure.m_replaced) {
      // The new file stands in the old one's place, but the stick has not
      // confirmed it: the old file is gone, so the person must not be told
      // it is still there.
      MessageBox(Quoted(slot) + " wurde ersetzt, aber nicht sicher gespeichert!\n" +
                     failure.Reason() + "\nBitte den Stick prüfen und erneut speichern.",
                 "Fehler", MB_ICONERROR);
    } else {
      // The slot file is replaced only once the new one is safely written.
      MessageBox(Quoted(slot) + " konnte nicht geschrieben werden!\n" + failure.Reason() +
                     "\nDie bisherige Datei ist unverändert.",
                 "Fehler", MB_ICONERROR);
    }
  }
}

void CRavik1Dlg::LoadConfigSlot(int slot) {
  CString drive;
  GetDlgItemText(IDC_DRIVE, drive);
  const std::string path = ConfigSlotPath(drive, slot);

  SlotReadResult read;
  try {
    read = ReadSlotFile(path);
  } catch (const CFileException& failure) {
    MessageBox(Quoted(slot) + " konnte nicht gelesen werden!\n" + failure.Reason() +
                   "\nDie Einstellungen sind unverändert.",
               "Fehler", MB_ICONERROR);
    return;
  }
  if (read.status == SlotReadStatus::OpenFailed) {
    MessageBox(Quoted(slot) +
                   " konnte nicht gelesen werden!\nLaufwerk gewählt? Leseberechtigung vorhanden?",
               "Fehler", MB_ICONERROR);
    return;
  }
  // A file shorter than a record is no record: ignored without a word.
  if (read.status == SlotReadStatus::TooShort) return;

  const DecodedConfig record = DecodeConfigRecord(read.record);
  m_settings.dataBitsCode = record.dataBitsCode;
  m_settings.modeCode = record.modeCode;
  m_settings.stopBitsCode = record.stopBitsCode;
  m_settings.parityCode = record.parityCode;

  if (record.modeCode == kModeRecord) {
    m_settings.baudCode = record.baudCode;
    Enable(IDC_DEVICE_BAUD, FALSE);
    SetCheck(IDC_MODE_RECORD, BST_CHECKED);
    SetCheck(IDC_MODE_PLAY, BST_UNCHECKED);
    for (int id : {IDC_PLAYFILE, IDC_REPEAT_VALUE, IDC_REPEAT_ONCE, IDC_REPEAT_COUNT,
                   IDC_REPEAT_ENDLESS}) {
      Enable(id, FALSE);
    }
    EnableBaudRadios(TRUE);
  } else if (record.modeCode == kModePlay || record.modeCode == kModePlayDeviceBaud) {
    m_settings.repeatCount = record.repeatCount;
    GetDlgItem(IDC_PLAYFILE)->SetWindowText(FromCodePage(record.name));
    Enable(IDC_DEVICE_BAUD, TRUE);
    if (record.modeCode == kModePlay) {
      m_settings.baudCode = record.baudCode;
      SetCheck(IDC_DEVICE_BAUD, BST_UNCHECKED);
      EnableBaudRadios(TRUE);
    } else {
      // The logger sets the rate itself: the window keeps its own.
      SetCheck(IDC_DEVICE_BAUD, BST_CHECKED);
      EnableBaudRadios(FALSE);
    }
    SetCheck(IDC_MODE_RECORD, BST_UNCHECKED);
    SetCheck(IDC_MODE_PLAY, BST_CHECKED);
    for (int id : {IDC_PLAYFILE, IDC_REPEAT_ONCE, IDC_REPEAT_COUNT, IDC_REPEAT_ENDLESS}) {
      Enable(id, TRUE);
    }

    if (m_settings.repeatCount == kRepeatOnce) {
      Enable(IDC_REPEAT_VALUE, FALSE);
      SetCheck(IDC_REPEAT_ONCE, BST_CHECKED);
      SetCheck(IDC_REPEAT_COUNT, BST_UNCHECKED);
      SetCheck(IDC_REPEAT_ENDLESS, BST_UNCHECKED);
    } else if (m_settings.repeatCount >= kRepeatEndless) {
      Enable(IDC_REPEAT_VALUE, FALSE);
      SetCheck(IDC_REPEAT_ONCE, BST_UNCHECKED);
      SetCheck(IDC_REPEAT_COUNT, BST_UNCHECKED);
      SetCheck(IDC_REPEAT_ENDLESS, BST_CHECKED);
    } else {
      CString value;
      value.Format("%d", static_cast<int>(m_settings.repeatCount));
      GetDlgItem(IDC_REPEAT_VALUE)->SetWindowText(value);  // runs OnChangeRepeatValue
      Enable(IDC_REPEAT_VALUE, TRUE);
      SetCheck(IDC_REPEAT_ONCE, BST_UNCHECKED);
      SetCheck(IDC_REPEAT_COUNT, BST_CHECKED);
      SetCheck(IDC_REPEAT_ENDLESS, BST_UNCHECKED);
    }
  }
  // Any other mode byte is held as it is; the mode controls stay.

  ShowSettingsInRadioGroups();
}

// Codes outside the tables are held as they are and shown as the default
// choice of their group.
void CRavik1Dlg::ShowSettingsInRadioGroups() {
  const auto show = [this](const auto& table, std::uint32_t code, int fallbackId) {
    for (const auto& row : table) SetCheck(row.radioId, BST_UNCHECKED);
    const auto* match = FindByCode(table, code);
    SetCheck(match ? match->radioId : fallbackId, BST_CHECKED);
  };
  show(kBaudRates, m_settings.baudCode, IDC_BAUD_9600);
  show(kDataBits, m_settings.dataBitsCode, IDC_DATABITS_8);
  show(kStopBits, m_settings.stopBitsCode, IDC_STOPBITS_1);
  show(kParity, m_settings.parityCode, IDC_PARITY_NONE);
}
