// One control of a QtDialog: the Qt widget of the template's kind and the
// dialog manager's rules for it.
#pragma once

#include <QString>

#include "platform/Backend.h"

class QWidget;
class QComboBox;
class QLineEdit;
class QAbstractButton;

namespace platform::qt {

class QtDialog;

class QtControl final : public ControlPeer {
 public:
  QtControl(QtDialog& dialog, const ControlTemplate& control, int group,
            const ControlTemplate* previousLabel);
  ~QtControl() override;

  ControlKind Kind() const override { return m_template.kind; }
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
  void SetText(const std::string& utf8) override;
  std::string Text() const override;
  void SetSize(int cx, int cy) override;
  void RaiseToTop() override;
  int GetCheck() const override;
  void SetCheck(int check) override;
  void SetLimit(int chars) override;
  void ResetContent() override;
  int AddString(const std::string& utf8) override;
  int Count() const override;
  int SetCurSel(int index) override;
  void SetDroppedWidth(int pixels) override;
  void SetItemToolTip(int index, const std::string& utf8) override;

  QWidget* Widget() const { return m_widget; }
  int Id() const { return m_template.id; }
  int Group() const { return m_group; }
  // A radio button gains the tab stop when it is checked and loses it when
  // it is unchecked, as the dialog manager's buttons do.
  bool TabStop() const { return m_tabStop; }
  const ControlTemplate& Template() const { return m_template; }
  // A person's click: buttons check, toggle and notify as they would.
  void Click();
  int DroppedWidth() const { return m_droppedWidth; }
  int LogicalWidth() const { return m_width; }
  int LogicalHeight() const { return m_height; }
  int Limit() const { return m_limit; }
  // The combo box's list is about to open.
  void BeforeDropDown();
  void AfterDropDown();

 private:
  void ClickInstead(bool checked);

  QtDialog& m_dialog;
  const ControlTemplate& m_template;
  int m_group;
  QWidget* m_widget = nullptr;
  int m_width = 0, m_height = 0;  // as the template or SetSize gave them
  int m_droppedWidth = 0;
  int m_limit = 0x7FFE;  // an edit's default limit
  QString m_editText;  // the text before the current change
  bool m_programSetting = false;
  bool m_tabStop;
};

}  // namespace platform::qt
