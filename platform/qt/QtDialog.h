// The Qt backend's dialog window: real Qt widgets for every control, laid
// out from the template in dialog units, with the dialog manager's
// keyboard, radio-group and notification rules that Qt lacks.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

#include "platform/Backend.h"

class QButtonGroup;
class QComboBox;
class QEventLoop;
class QPainter;
class QWidget;

namespace platform::qt {

class QtControl;

class QtDialog final : public QDialog, public DialogPeer {
 public:
  QtDialog(const DialogTemplate& dialog, MessageSink& sink, QWidget* owner);
  ~QtDialog() override;

  // DialogPeer
  ControlPeer& Control(int id) override;
  bool HasControl(int id) const override;
  void SetCaption(const std::string& utf8) override;
  void SetIcon(HICON icon, bool big) override;
  bool IsIconic() const override;
  CRect ClientRect() const override;
  void Show(bool focusFirstTabStop) override;
  void RunModalLoop() override;
  void End() override;
  void MessageBox(const std::string& text, const std::string& caption, UINT type) override;
  void DrawIcon(int x, int y, HICON icon) override;
  void EraseIconBackground() override;
  bool HasSystemMenu() const override { return false; }
  void AppendSystemMenuItem(UINT, UINT, const std::string&) override {}
  void Post(std::function<void()> task) override;

  // For the controls and the test seam.
  LRESULT Notify(int id, UINT code);
  void ClickRadio(QtControl& radio);
  void RaiseInSiblingOrder(QtControl& control);
  QtControl* ControlOf(const QWidget* widget) const;
  std::vector<QtControl*> TabStopsInOrder() const;
  const std::vector<QtControl*>& SiblingOrder() const { return m_siblings; }
  bool Ended() const { return m_ended; }
  int DluToPixelsX(int x) const;
  int DluToPixelsY(int y) const;
  const QFont& DialogFont() const { return m_font; }
  bool MoveFocus(bool next);
  bool MoveInGroup(QtControl& from, bool forward);
  QButtonGroup& ButtonGroup(int group);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<QtControl*> GroupOf(const QtControl& control) const;

  MessageSink& m_sink;
  QFont m_font;
  int m_baseX = 6;  // average character width, as the dialog manager measures it
  int m_baseY = 13; // character height
  std::vector<std::unique_ptr<QtControl>> m_controls;  // template order
  std::vector<QtControl*> m_siblings;                  // sibling order, top first
  std::map<int, QtControl*> m_byId;
  std::map<int, QButtonGroup*> m_buttonGroups;
  QEventLoop* m_loop = nullptr;
  bool m_ended = false;
  QPainter* m_painter = nullptr;
};

}  // namespace platform::qt
