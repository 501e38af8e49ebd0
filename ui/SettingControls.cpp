// The setting controls: each click writes one field of the settings at
// once, and the mode keeps the dependent controls enabled or disabled.
#include "config/CodeTables.h"
#include "res/resource.h"
#include "ui/Ravik1Dlg.h"

void CRavik1Dlg::EnableBaudRadios(BOOL enable) {
  for (const auto& baud : kBaudRates) Enable(baud.radioId, enable);
}

void CRavik1Dlg::OnBaudRadio(UINT id) {
  if (const auto* baud = FindByRadioId(kBaudRates, static_cast<int>(id))) {
    m_settings.baudCode = baud->code;
  }
}

void CRavik1Dlg::OnDataBitsRadio(UINT id) {
  if (const auto* choice = FindByRadioId(kDataBits, static_cast<int>(id))) {
    m_settings.dataBitsCode = choice->code;
  }
}

void CRavik1Dlg::OnStopBitsRadio(UINT id) {
  if (const auto* choice = FindByRadioId(kStopBits, static_cast<int>(id))) {
    m_settings.stopBitsCode = choice->code;
  }
}

void CRavik1Dlg::OnParityRadio(UINT id) {
  if (const auto* choice = FindByRadioId(kParity, static_cast<int>(id))) {
    m_settings.parityCode = choice->code;
  }
}

void CRavik1Dlg::OnModeRecord() {
  for (int id : {IDC_PLAYFILE, IDC_REPEAT_VALUE, IDC_REPEAT_ONCE, IDC_REPEAT_COUNT,
                 IDC_REPEAT_ENDLESS, IDC_DEVICE_BAUD}) {
    Enable(id, FALSE);
  }
  m_settings.modeCode = kModeRecord;
  EnableBaudRadios(TRUE);
}

void CRavik1Dlg::OnModePlay() {
  // The repeat-value edit keeps its state: it follows the repeat radios.
  for (int id : {IDC_PLAYFILE, IDC_REPEAT_ONCE, IDC_REPEAT_COUNT, IDC_REPEAT_ENDLESS,
                 IDC_DEVICE_BAUD}) {
    Enable(id, TRUE);
  }
  OnDeviceBaud();
}

void CRavik1Dlg::OnDeviceBaud() {
  const bool deviceBaud = Button(IDC_DEVICE_BAUD).GetCheck() == BST_CHECKED;
  m_settings.modeCode = deviceBaud ? kModePlayDeviceBaud : kModePlay;
  // The logger sets the rate itself; baudCode keeps the last one chosen.
  EnableBaudRadios(deviceBaud ? FALSE : TRUE);
}

void CRavik1Dlg::OnRepeatOnce() {
  Enable(IDC_REPEAT_VALUE, FALSE);
  m_settings.repeatCount = kRepeatOnce;
}

void CRavik1Dlg::OnRepeatCount() {
  Enable(IDC_REPEAT_VALUE, TRUE);
  m_settings.repeatCount = static_cast<std::uint32_t>(GetDlgItemInt(IDC_REPEAT_VALUE));
}

void CRavik1Dlg::OnRepeatEndless() {
  Enable(IDC_REPEAT_VALUE, FALSE);
  m_settings.repeatCount = kRepeatEndless;
}

// Runs on every change of the text, the program's own included, and once
// more, nested, when it replaces a value out of range by "254".
void CRavik1Dlg::OnChangeRepeatValue() {
  const int value = GetDlgItemInt(IDC_REPEAT_VALUE);
  m_settings.repeatCount = static_cast<std::uint32_t>(value);
  if (static_cast<std::uint32_t>(value) > kRepeatMaxValue) {
    m_settings.repeatCount = kRepeatMaxValue;
    CString text;
    text.Format("%d", static_cast<int>(kRepeatMaxValue));
    GetDlgItem(IDC_REPEAT_VALUE)->SetWindowText(text);
  }
  SetCheck(IDC_REPEAT_ONCE, BST_UNCHECKED);
  SetCheck(IDC_REPEAT_COUNT, BST_CHECKED);
  SetCheck(IDC_REPEAT_ENDLESS, BST_UNCHECKED);
}
