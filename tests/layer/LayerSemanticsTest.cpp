// The dialog-manager behaviour the program relies on, checked on a small
// dialog of its own through the test seam, offscreen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/File.h"
#include "platform/TestSeam.h"

using testseam::Key;
using ::testing::ElementsAre;

namespace {

enum : int {
  kFirst = 10,
  kRadioA1 = 20, kRadioA2 = 21, kCheckA = 22, kRadioA3 = 23,
  kRadioB1 = 30, kRadioB2 = 31,
  kName = 40, kNumber = 41,
  kDrive = 50,
  kSecond = 60, kFails = 61, kNested = 62,
};

constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
const ControlTemplate kControls[] = {
    {-1, ControlKind::GroupBox, "Rahmen", 2, 2, 200, 150, BS_GROUPBOX},
    {kFirst, ControlKind::PushButton, "Erster", 10, 10, 50, 14, WS_TABSTOP},
    {kRadioA1, ControlKind::RadioButton, "A1", 10, 30, 40, 10, kRadio | WS_GROUP | WS_TABSTOP},
    {kRadioA2, ControlKind::RadioButton, "A2", 10, 42, 40, 10, kRadio},
    {kCheckA, ControlKind::CheckBox, "Haken", 60, 42, 50, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {kRadioA3, ControlKind::RadioButton, "A3", 10, 54, 40, 10, kRadio},
    {kRadioB1, ControlKind::RadioButton, "B1", 120, 30, 40, 10, kRadio | WS_GROUP | WS_TABSTOP},
    {kRadioB2, ControlKind::RadioButton, "B2", 120, 42, 40, 10, kRadio},
    {-1, ControlKind::StaticText, "Name :", 10, 70, 30, 8, SS_LEFT | WS_GROUP},
    {kName, ControlKind::Edit, "", 45, 68, 60, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {-1, ControlKind::StaticText, "Zahl :", 10, 86, 30, 8, SS_LEFT | WS_GROUP},
    {kNumber, ControlKind::Edit, "", 45, 84, 30, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {-1, ControlKind::StaticText, "Laufwerk :", 10, 102, 30, 8, SS_LEFT | WS_GROUP},
    {kDrive, ControlKind::ComboBox, "", 45, 100, 60, 40,
     CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
    {kSecond, ControlKind::PushButton, "Zweiter", 120, 120, 50, 14, WS_TABSTOP | WS_GROUP},
    {kFails, ControlKind::PushButton, "Fehler", 10, 120, 50, 14, WS_TABSTOP},
    {kNested, ControlKind::PushButton, "Unterdialog", 65, 120, 50, 14, WS_TABSTOP},
};
const DialogTemplate kDialog{1, "Probe", 0, 0, 210, 160, "MS Sans Serif", 8,
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                             0, kControls};

const ControlTemplate kChildControls[] = {
    {IDOK, ControlKind::PushButton, "OK", 10, 10, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kChild{2, "Unter", 0, 0, 80, 40, "MS Sans Serif", 8,
                            WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, kChildControls};

class ProbeDialog : public CDialog {
 public:
  ProbeDialog() : CDialog(kDialog) {}
  std::vector<std::string> log;
  std::vector<std::string> refill = {"b:", "A:", "c:"};
  INT_PTR nestedResult = 0;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    log.push_back("init");
    return TRUE;
  }
  void OnOK() override { log.push_back("IDOK"); }
  void OnCancel() override {
    log.push_back("IDCANCEL");
    CDialog::OnCancel();
  }

  void OnClicked(UINT id) { log.push_back("click " + std::to_string(id)); }
  void OnChangeName() { log.push_back("change " + GetText(kName)); }
  void OnChangeNumber() {
    log.push_back("change " + GetText(kNumber));
    if (GetDlgItemInt(kNumber) > 254) GetDlgItem(kNumber)->SetWindowText("254");
  }
  void OnDropdown() {
    log.push_back("dropdown");
    CComboBox& combo = Combo(kDrive);
    combo.ResetContent();
    for (const auto& item : refill) combo.AddString(item);
    combo.SetCurSel(0);
  }
  void OnFails() { throw CFileException(CFileException::diskFull, 28, "Probe.ini"); }
  void OnNested() {
    CDialog child(kChild);
    nestedResult = child.DoModal();
    log.push_back("nested " + std::to_string(nestedResult));
  }

  std::string GetText(int id) {
    CString text;
    GetDlgItemText(id, text);
    return text.str();
  }

  const MessageMap* GetMessageMap() const override {
    static const MessageEntry entries[] = {
        OnNotifyId(BN_CLICKED, kFirst, &ProbeDialog::OnClicked),
        OnNotifyId(BN_CLICKED, kRadioA1, &ProbeDialog::OnClicked),
        OnNotifyId(BN_CLICKED, kRadioA2, &ProbeDialog::OnClicked),
        OnNotifyId(BN_CLICKED, kCheckA, &ProbeDialog::OnClicked),
        OnNotifyId(BN_CLICKED, kRadioA3, &ProbeDialog::OnClicked),
        OnNotifyId(BN_CLICKED, kRadioB1, &ProbeDialog::OnClicked),
        OnNotifyId(BN_CLICKED, kRadioB2, &ProbeDialog::OnClicked),
        OnNotifyId(BN_CLICKED, kSecond, &ProbeDialog::OnClicked),
        OnNotify(EN_CHANGE, kName, &ProbeDialog::OnChangeName),
        OnNotify(EN_CHANGE, kNumber, &ProbeDialog::OnChangeNumber),
        OnNotify(CBN_DROPDOWN, kDrive, &ProbeDialog::OnDropdown),
        OnCommand(kFails, &ProbeDialog::OnFails),
        OnCommand(kNested, &ProbeDialog::OnNested),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
  }
};

class LayerSemantics : public ::testing::Test {
 protected:
  void SetUp() override {
    driver = testseam::Open(dialog);
    ASSERT_TRUE(driver);
    dialog.log.clear();
  }
  ProbeDialog dialog;
  std::unique_ptr<testseam::DialogDriver> driver;
};

TEST_F(LayerSemantics, TemplateOrderIsTabOrderAndFirstTabStopHasFocus) {
  EXPECT_EQ(driver->FocusedId(), kFirst);
  EXPECT_THAT(driver->TabOrder(),
              ElementsAre(kFirst, kRadioA1, kCheckA, kRadioB1, kName, kNumber, kDrive, kSecond,
                          kFails, kNested));
  driver->Press(Key::Tab);
  EXPECT_EQ(driver->FocusedId(), kRadioA1);
  driver->Press(Key::BackTab);
  EXPECT_EQ(driver->FocusedId(), kFirst);
  driver->Press(Key::BackTab);  // wraps round
  EXPECT_EQ(driver->FocusedId(), kNested);
}

TEST_F(LayerSemantics, DialogUnitsScaleWithTheFont) {
  // x at 10 and 120 units, widths of 40 and 50 units: pixels are linear in units.
  const auto a = driver->State(kRadioA1), b = driver->State(kRadioB1);
  EXPECT_NEAR(b.x, a.x * 12, 12);
  EXPECT_NEAR(driver->State(kFirst).width * 4, driver->State(kRadioA1).width * 5, 5);
  EXPECT_NEAR(driver->ClientWidth(), a.x * 21, 21);
}

TEST_F(LayerSemantics, ClickOnRadioChecksItUnchecksItsGroupThenNotifies) {
  dialog.Button(kRadioA1).SetCheck(BST_CHECKED);
  dialog.Button(kCheckA).SetCheck(BST_CHECKED);
  dialog.Button(kRadioB1).SetCheck(BST_CHECKED);

  driver->Click(kRadioA2);
  EXPECT_EQ(driver->State(kRadioA2).check, BST_CHECKED);
  EXPECT_EQ(driver->State(kRadioA1).check, BST_UNCHECKED);
  EXPECT_EQ(driver->State(kRadioA3).check, BST_UNCHECKED);
  EXPECT_EQ(driver->State(kCheckA).check, BST_CHECKED) << "a check box is no radio";
  EXPECT_EQ(driver->State(kRadioB1).check, BST_CHECKED) << "another group";

  driver->Click(kRadioA2);  // already checked: stays checked, notifies again
  EXPECT_EQ(driver->State(kRadioA2).check, BST_CHECKED);
  driver->Click(kCheckA);
  EXPECT_EQ(driver->State(kCheckA).check, BST_UNCHECKED);
  EXPECT_THAT(dialog.log, ElementsAre("click 21", "click 21", "click 22"));
}

TEST_F(LayerSemantics, ArrowKeysMoveWithinTheGroupAndClickRadios) {
  dialog.Button(kRadioA1).SetCheck(BST_CHECKED);
  driver->Press(Key::Tab);
  ASSERT_EQ(driver->FocusedId(), kRadioA1);
  driver->Press(Key::Down);
  EXPECT_EQ(driver->FocusedId(), kRadioA2);
  EXPECT_EQ(driver->State(kRadioA2).check, BST_CHECKED);
  EXPECT_EQ(driver->State(kRadioA1).check, BST_UNCHECKED);
  driver->Press(Key::Down);  // onto the check box: focus only
  EXPECT_EQ(driver->FocusedId(), kCheckA);
  EXPECT_EQ(driver->State(kCheckA).check, BST_UNCHECKED);
  driver->Press(Key::Down);
  driver->Press(Key::Down);  // wraps to the first radio of the group
  EXPECT_EQ(driver->FocusedId(), kRadioA1);
  EXPECT_THAT(dialog.log, ElementsAre("click 21", "click 23", "click 20"));
}

TEST_F(LayerSemantics, ProgramChecksNeverNotifyAndCanUncheckEveryRadio) {
  dialog.Button(kRadioA1).SetCheck(BST_CHECKED);
  dialog.Button(kRadioA2).SetCheck(BST_CHECKED);  // the program keeps its groups itself
  EXPECT_EQ(driver->State(kRadioA1).check, BST_CHECKED);
  dialog.Button(kRadioA1).SetCheck(BST_UNCHECKED);
  dialog.Button(kRadioA2).SetCheck(BST_UNCHECKED);
  EXPECT_EQ(driver->State(kRadioA1).check, BST_UNCHECKED);
  EXPECT_EQ(driver->State(kRadioA2).check, BST_UNCHECKED);
  EXPECT_TRUE(dialog.log.empty());
}

TEST_F(LayerSemantics, ProgramSetTextNotifiesAtOnceAndNested) {
  dialog.GetDlgItem(kNumber)->SetWindowText("300");
  EXPECT_THAT(dialog.log, ElementsAre("change 300", "change 254"));
  EXPECT_EQ(dialog.GetText(kNumber), "254");
  dialog.log.clear();
  dialog.GetDlgItem(kNumber)->SetWindowText("254");  // same text: still notified
  EXPECT_THAT(dialog.log, ElementsAre("change 254"));
}

TEST_F(LayerSemantics, LengthLimitHoldsForTypingAndPastingNotForTheProgram) {
  dialog.Edit(kName).LimitText(3);
  driver->Type(kName, "abcdef");
  EXPECT_EQ(dialog.GetText(kName), "abc");
  EXPECT_THAT(dialog.log, ElementsAre("change a", "change ab", "change abc"));

  dialog.GetDlgItem(kName)->SetWindowText("123456");
  EXPECT_EQ(dialog.GetText(kName), "123456");
  driver->Press(Key::End);
  driver->Press(Key::Backspace);  // a person may still shorten it
  EXPECT_EQ(dialog.GetText(kName), "12345");

  driver->Clear(kName);
  driver->Type(kName, "x");
  driver->Paste(kName, "yzw");  // only what fits goes in
  EXPECT_EQ(dialog.GetText(kName), "xyz");
}

TEST_F(LayerSemantics, GetDlgItemIntReadsLeadingSignedNumber) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"", 0},   {"abc", 0}, {"-", 0},   {"-1", -1}, {"12", 12},
               {"1a", 1}, {" 7", 7},  {"0", 0},   {"99999999999", 0}, {"254", 254}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialog.GetDlgItem(kName)->SetWindowText(c.text);
    EXPECT_EQ(dialog.GetDlgItemInt(kName), c.value);
  }
}

TEST_F(LayerSemantics, ComboKeepsSortedListAndNeverAddsTypedText) {
  CComboBox& combo = dialog.Combo(kDrive);
  EXPECT_EQ(combo.AddString("d:"), 0);
  EXPECT_EQ(combo.AddString("B:"), 0);
  EXPECT_EQ(combo.AddString("c:"), 1);
  EXPECT_EQ(driver->State(kDrive).text, "") << "adding leaves the field alone";
  combo.SetCurSel(0);
  EXPECT_EQ(driver->State(kDrive).text, "B:");
  EXPECT_THAT(driver->State(kDrive).items, ElementsAre("B:", "c:", "d:"));

  driver->Type(kDrive, "X");
  driver->Press(Key::Enter);
  EXPECT_EQ(driver->State(kDrive).text, "B:X");
  EXPECT_THAT(driver->State(kDrive).items, ElementsAre("B:", "c:", "d:"));

  combo.ResetContent();
  EXPECT_TRUE(driver->State(kDrive).items.empty());
  EXPECT_EQ(driver->State(kDrive).text, "");
  EXPECT_EQ(combo.SetCurSel(0), -1);
}

TEST_F(LayerSemantics, DropDownNotifiesBeforeTheListOpens) {
  driver->OpenDropDown(kDrive);
  EXPECT_THAT(dialog.log, ElementsAre("dropdown"));
  EXPECT_THAT(driver->State(kDrive).items, ElementsAre("A:", "b:", "c:"));
  driver->PickItem(kDrive, 2);
  EXPECT_EQ(driver->State(kDrive).text, "c:");
  driver->OpenDropDown(kDrive);  // refilled again, first entry selected
  EXPECT_EQ(driver->State(kDrive).text, "A:");
  driver->Press(Key::Escape);  // closes the list only
  EXPECT_TRUE(driver->IsOpen());
}

TEST_F(LayerSemantics, ResizeRaisesToTheFrontOfTheTabOrder) {
  CComboBox& combo = dialog.Combo(kDrive);
  combo.SetWindowPos(nullptr, 0, 0, 89, 500, SWP_NOMOVE);
  combo.SetDroppedWidth(110);
  const auto state = driver->State(kDrive);
  EXPECT_EQ(state.width, 89);
  EXPECT_EQ(state.height, 500);
  EXPECT_EQ(state.droppedWidth, 110);
  EXPECT_EQ(driver->TabOrder().front(), kDrive);
}

TEST_F(LayerSemantics, EnterPressesFocusedButtonOtherwiseSendsIdok) {
  driver->Press(Key::Enter);  // "Erster" has the focus
  driver->Click(kRadioB2);
  driver->Press(Key::Enter);
  driver->Type(kName, "x");
  driver->Press(Key::Enter);
  EXPECT_THAT(dialog.log, ElementsAre("click 10", "click 31", "IDOK", "change x", "IDOK"));
  EXPECT_TRUE(driver->IsOpen());
}

TEST_F(LayerSemantics, EscapeCloseBoxAndAltF4SendIdcancel) {
  for (auto end : {0, 1, 2}) {
    ProbeDialog probe;
    auto d = testseam::Open(probe);
    ASSERT_TRUE(d);
    if (end == 0) d->Press(Key::Escape);
    if (end == 1) d->CloseBox();
    if (end == 2) d->Press(Key::AltF4);
    EXPECT_FALSE(d->IsOpen()) << end;
    EXPECT_EQ(probe.Result(), IDCANCEL) << end;
    EXPECT_EQ(probe.log.back(), "IDCANCEL") << end;
  }
}

TEST_F(LayerSemantics, MessageBoxIsRecordedAndFileFailureBecomesAnErrorBox) {
  testseam::MessageBoxRecorder boxes;
  dialog.MessageBox("Zeile 1\nZeile 2", "Fehler", MB_ICONERROR);
  driver->Click(kFails);  // throws out of its handler
  ASSERT_EQ(boxes.Calls().size(), 2u);
  EXPECT_EQ(boxes.Calls()[0].text, "Zeile 1\nZeile 2");
  EXPECT_EQ(boxes.Calls()[1].caption, "Fehler");
  EXPECT_EQ(boxes.Calls()[1].style, MB_ICONERROR);
  EXPECT_NE(boxes.Calls()[1].text.find("Probe.ini"), std::string::npos);
  driver->Click(kSecond);  // the window goes on
  EXPECT_EQ(dialog.log.back(), "click 60");
}

TEST_F(LayerSemantics, NestedModalDialogDisablesItsOwnerUntilItCloses) {
  testseam::ModalRun run;
  bool ownerEnabledInside = true;
  testseam::OnNextModal(
      [&](testseam::DialogDriver& child) {
        ownerEnabledInside = driver->IsEnabled();
        EXPECT_EQ(child.FocusedId(), IDOK);
        child.Press(Key::Enter);
      },
      &run);
  driver->Click(kNested);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_TRUE(run.ownerWasDisabled);
  EXPECT_FALSE(run.leftOpen);
  EXPECT_EQ(dialog.nestedResult, IDOK);
  EXPECT_TRUE(driver->IsEnabled());
}

TEST_F(LayerSemantics, TextReadIntoBytesUsesTheCodePage) {
  dialog.GetDlgItem(kName)->SetWindowText("Ä€\u2713x");
  char buffer[4];
  EXPECT_EQ(dialog.GetDlgItem(kName)->GetWindowText(buffer, sizeof buffer), 3);
  EXPECT_EQ(std::string(buffer), "\xC4\x80?");
}

TEST_F(LayerSemantics, NoSystemMenuHere) { EXPECT_EQ(dialog.GetSystemMenu(FALSE), nullptr); }

TEST_F(LayerSemantics, AccessibleNamesAreCaptionsAndLabelsBeforeEdits) {
  EXPECT_EQ(driver->State(kFirst).accessibleName, "Erster");
  EXPECT_EQ(driver->State(kFirst).accessibleRole, "push button");
  EXPECT_EQ(driver->State(kRadioA1).accessibleRole, "radio button");
  EXPECT_EQ(driver->State(kName).accessibleName, "Name :");
  EXPECT_EQ(driver->State(kName).accessibleRole, "edit");
  EXPECT_EQ(driver->State(kDrive).accessibleName, "Laufwerk :");
  EXPECT_EQ(driver->State(kDrive).accessibleRole, "combo box");
}

}  // namespace
