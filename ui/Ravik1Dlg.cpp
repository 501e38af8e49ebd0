#include "ui/Ravik1Dlg.h"

#include <vector>

#include "config/CodeTables.h"
#include "res/resource.h"
#include "ui/AboutDlg.h"
#include "ui/IconPlacement.h"
#include "ui/SlotButtons.h"
#include "ui/TimeFormat.h"

CRavik1Dlg::CRavik1Dlg(CWnd* parent)
    : CDialog(IDD_MAIN, parent), m_hIcon(LoadIconResource(IDR_MAINFRAME)) {}

const MessageMap* CRavik1Dlg::GetMessageMap() const {
  static const std::vector<MessageEntry> entries = [] {
    using D = CRavik1Dlg;
    std::vector<MessageEntry> map = {
        OnSysCommandMessage(&D::OnSysCommand),
        OnPaintMessage(&D::OnPaint),
        OnQueryDragIconMessage(&D::OnQueryDragIcon),
        OnCommand(IDC_EXIT, &D::OnExit),
        OnCommand(IDOK, &D::OnOkCommand),
        OnCommand(IDC_INFO, &D::OnInfo),
        OnCommand(IDC_NAME_HELP, &D::OnNameHelp),
        OnCommand(IDC_MODE_RECORD, &D::OnModeRecord),
        OnCommand(IDC_MODE_PLAY, &D::OnModePlay),
        OnCommand(IDC_DEVICE_BAUD, &D::OnDeviceBaud),
        OnCommand(IDC_REPEAT_ONCE, &D::OnRepeatOnce),
        OnCommand(IDC_REPEAT_COUNT, &D::OnRepeatCount),
        OnCommand(IDC_REPEAT_ENDLESS, &D::OnRepeatEndless),
        OnNotify(EN_CHANGE, IDC_REPEAT_VALUE, &D::OnChangeRepeatValue),
        OnNotify(CBN_DROPDOWN, IDC_DRIVE, &D::OnDropdownDrive),
    };
    for (const auto& row : kBaudRates) map.push_back(OnNotifyId(BN_CLICKED, row.radioId, &D::OnBaudRadio));
    for (const auto& row : kDataBits) map.push_back(OnNotifyId(BN_CLICKED, row.radioId, &D::OnDataBitsRadio));
    for (const auto& row : kStopBits) map.push_back(OnNotifyId(BN_CLICKED, row.radioId, &D::OnStopBitsRadio));
    for (const auto& row : kParity) map.push_back(OnNotifyId(BN_CLICKED, row.radioId, &D::OnParityRadio));
    for (const auto& slot : kSlotButtons) {
      map.push_back(OnNotifyId(BN_CLICKED, slot.saveId, &D::OnSaveButton));
      map.push_back(OnNotifyId(BN_CLICKED, slot.loadId, &D::OnLoadButton));
    }
    return map;
  }();
  static const MessageMap map{CDialog::GetMessageMap(), entries};
  return &map;
}

BOOL CRavik1Dlg::OnInitDialog() {
  CDialog::OnInitDialog();

  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
      systemMenu->AppendMenu(MF_SEPARATOR);
      systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
  }

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  Edit(IDC_PLAYFILE).LimitText(12);
  Edit(IDC_REPEAT_VALUE).LimitText(3);
  GetDlgItem(IDC_PLAYFILE)->SetWindowText("PLAYFILE.TXT");
  // Runs OnChangeRepeatValue, which checks "Wert"; "1 mal" is checked below.
  GetDlgItem(IDC_REPEAT_VALUE)->SetWindowText("2");

  SetCheck(IDC_REPEAT_COUNT, BST_UNCHECKED);
  SetCheck(IDC_REPEAT_ENDLESS, BST_UNCHECKED);
  SetCheck(IDC_BAUD_9600, BST_CHECKED);
  SetCheck(IDC_STARTBIT_1, BST_CHECKED);
  SetCheck(IDC_DATABITS_8, BST_CHECKED);
  SetCheck(IDC_STOPBITS_1, BST_CHECKED);
  SetCheck(IDC_PARITY_NONE, BST_CHECKED);
  SetCheck(IDC_MODE_RECORD, BST_CHECKED);
  SetCheck(IDC_REPEAT_ONCE, BST_CHECKED);

  for (int id : {IDC_PLAYFILE, IDC_REPEAT_VALUE, IDC_REPEAT_ONCE, IDC_REPEAT_COUNT,
                 IDC_REPEAT_ENDLESS, IDC_DEVICE_BAUD}) {
    Enable(id, FALSE);
  }

  m_settings = DefaultLoggerSettings();

  FillDriveList();
  return TRUE;
}

void CRavik1Dlg::OnSysCommand(UINT id, LPARAM) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
  } else {
    Default();
  }
}

void CRavik1Dlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, dc.GetSafeHdc(), 0);
  CRect client;
  GetClientRect(&client);
  const int x = IconOrigin(client.Width(), GetSystemMetrics(SM_CXICON));
  const int y = IconOrigin(client.Height(), GetSystemMetrics(SM_CYICON));
  dc.DrawIcon(x, y, m_hIcon);
}

HICON CRavik1Dlg::OnQueryDragIcon() { return m_hIcon; }

// "Beenden" ends the window through the dialog's own OK action, not the
// empty override that Enter reaches.
void CRavik1Dlg::OnExit() { CDialog::OnOK(); }

void CRavik1Dlg::OnOkCommand() { OnOK(); }

void CRavik1Dlg::OnInfo() {
  CAboutDlg about;
  about.DoModal();
}

void CRavik1Dlg::OnNameHelp() {
  CTimeFormat rules;
  rules.DoModal();
}
