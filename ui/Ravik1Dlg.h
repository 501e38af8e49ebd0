// The main window: the serial frame, the operating mode, playback file
// and repeat count, the stick's drive, and the three configuration slots.
#pragma once

#include "config/LoggerSettings.h"
#include "platform/Dialog.h"

class CRavik1Dlg : public CDialog {
 public:
  explicit CRavik1Dlg(CWnd* parent = nullptr);

  // The settings the window shows; written by its handlers only.
  const LoggerSettings& Settings() const { return m_settings; }

 protected:
  BOOL OnInitDialog() override;
  // Enter with no push button focused lands here and does nothing.
  void OnOK() override {}
  const MessageMap* GetMessageMap() const override;

  // Start-up and end.
  void OnSysCommand(UINT id, LPARAM lParam);
  void OnPaint();
  HICON OnQueryDragIcon();
  void OnExit();
  void OnOkCommand();
  void OnInfo();
  void OnNameHelp();

  // Setting controls.
  void OnBaudRadio(UINT id);
  void OnDataBitsRadio(UINT id);
  void OnStopBitsRadio(UINT id);
  void OnParityRadio(UINT id);
  void OnModeRecord();
  void OnModePlay();
  void OnDeviceBaud();
  void OnRepeatOnce();
  void OnRepeatCount();
  void OnRepeatEndless();
  void OnChangeRepeatValue();

  // Drive list.
  void FillDriveList();
  void OnDropdownDrive();

  // Configuration slots.
  void OnSaveButton(UINT id);
  void OnLoadButton(UINT id);
  void SaveConfigSlot(int slot);
  void LoadConfigSlot(int slot);

 private:
  void EnableBaudRadios(BOOL enable);
  void Enable(int id, BOOL enable) { GetDlgItem(id)->EnableWindow(enable); }
  void SetCheck(int id, int check) { Button(id).SetCheck(check); }
  void ShowSettingsInRadioGroups();

  HICON m_hIcon;
  LoggerSettings m_settings{};
};
