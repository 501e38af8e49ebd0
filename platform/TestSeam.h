// Drives any dialog as a person would, offscreen, and reads back what the
// person would see. Used only by tests; every backend implements it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Dialog.h"

namespace testseam {

enum class Key { Tab, BackTab, Enter, Escape, Space, Up, Down, Left, Right, AltF4, F1, Backspace, End };

struct ControlState {
  bool enabled = false;
  bool visible = false;
  int check = 0;
  std::string text;
  std::vector<std::string> items;     // combo box list
  std::vector<std::string> itemTips;  // combo box tooltips
  int width = 0, height = 0;          // pixels, as the program set them
  int x = 0, y = 0;
  int droppedWidth = 0;
  std::string accessibleName;
  std::string accessibleRole;  // "push button", "radio button", "check box", "edit", "combo box", ...
};

struct MessageBoxCall {
  std::string text;
  std::string caption;
  UINT style;
};

class DialogDriver {
 public:
  virtual ~DialogDriver() = default;
  virtual void Click(int id) = 0;                        // the mouse on the control
  virtual void Type(int id, std::string_view text) = 0;  // focus it, type at the end
  virtual void Clear(int id) = 0;                        // focus it, select all, delete
  virtual void Paste(int id, std::string_view text) = 0; // focus it, paste at the end
  virtual void Press(Key key) = 0;                       // to the focused control
  virtual void CloseBox() = 0;                           // the caption's close box
  virtual void OpenDropDown(int id) = 0;                 // open the list as a person does
  virtual void PickItem(int id, int index) = 0;          // choose from the open list
  virtual ControlState State(int id) const = 0;
  virtual int FocusedId() const = 0;                     // 0 when no control has the focus
  // The controls Tab reaches, in order, starting from the first tab stop.
  virtual std::vector<int> TabOrder() const = 0;
  virtual bool IsOpen() const = 0;
  // False while a modal dialog it owns is open.
  virtual bool IsEnabled() const = 0;
  virtual std::string Caption() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // Saves what the window shows as a PNG file.
  virtual bool Grab(const std::string& path) const = 0;
};

// Creates the dialog (running OnInitDialog) and shows it offscreen.
std::unique_ptr<DialogDriver> Open(CDialog& dialog);

// While alive, message boxes are recorded here instead of being shown.
class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder();
  const std::vector<MessageBoxCall>& Calls() const { return m_calls; }
  void Clear() { m_calls.clear(); }

 private:
  std::vector<MessageBoxCall> m_calls;
};

// The next modal dialog that opens runs script once it is shown; if the
// script leaves it open, it is ended with -1 so no test can hang.
struct ModalRun {
  UINT templateId = 0;
  std::optional<INT_PTR> result;
  bool ownerWasDisabled = false;
  bool leftOpen = false;
};
void OnNextModal(std::function<void(DialogDriver&)> script, ModalRun* report = nullptr);

}  // namespace testseam
