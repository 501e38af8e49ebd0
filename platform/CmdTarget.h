// Message maps: each class enters one handler member for one notification
// of one control (or one message), and a map falls back to its base
// class's map. Lookup walks from the most derived map to the base.
#pragma once

#include <span>
#include <variant>

#include "platform/Types.h"

class CCmdTarget;

using HandlerVoid = void (CCmdTarget::*)();
using HandlerWithId = void (CCmdTarget::*)(UINT id);
using HandlerSysCommand = void (CCmdTarget::*)(UINT id, LPARAM lParam);
using HandlerQueryIcon = HICON (CCmdTarget::*)();

struct MessageEntry {
  UINT message;  // WM_COMMAND, WM_SYSCOMMAND, WM_PAINT, WM_QUERYDRAGICON
  UINT code;     // WM_COMMAND only: BN_CLICKED, EN_CHANGE, CBN_DROPDOWN
  int id;        // WM_COMMAND only: control or command id
  std::variant<HandlerVoid, HandlerWithId, HandlerSysCommand, HandlerQueryIcon> handler;
};

struct MessageMap {
  const MessageMap* base;
  std::span<const MessageEntry> entries;
};

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  virtual const MessageMap* GetMessageMap() const;

  // Runs the handler entered for the message, if any; returns whether one
  // ran. result receives what the handler answers (WM_QUERYDRAGICON).
  bool DispatchMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
};

// Entry makers. The member pointer of a derived class is stored as one of
// CCmdTarget; the call goes to the object the map belongs to.
template <class T>
MessageEntry OnNotify(UINT code, int id, void (T::*fn)()) {
  return {WM_COMMAND, code, id, static_cast<HandlerVoid>(fn)};
}
template <class T>
MessageEntry OnNotifyId(UINT code, int id, void (T::*fn)(UINT)) {
  return {WM_COMMAND, code, id, static_cast<HandlerWithId>(fn)};
}
template <class T>
MessageEntry OnCommand(int id, void (T::*fn)()) {
  return OnNotify(BN_CLICKED, id, fn);
}
template <class T>
MessageEntry OnSysCommandMessage(void (T::*fn)(UINT, LPARAM)) {
  return {WM_SYSCOMMAND, 0, 0, static_cast<HandlerSysCommand>(fn)};
}
template <class T>
MessageEntry OnPaintMessage(void (T::*fn)()) {
  return {WM_PAINT, 0, 0, static_cast<HandlerVoid>(fn)};
}
template <class T>
MessageEntry OnQueryDragIconMessage(HICON (T::*fn)()) {
  return {WM_QUERYDRAGICON, 0, 0, static_cast<HandlerQueryIcon>(fn)};
}
