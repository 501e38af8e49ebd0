#include "platform/CmdTarget.h"

namespace {

bool Matches(const MessageEntry& entry, UINT message, WPARAM wParam) {
  if (entry.message != message) return false;
  if (message != WM_COMMAND) return true;
  return entry.code == HIWORD(wParam) && static_cast<int>(LOWORD(wParam)) == (entry.id & 0xFFFF);
}

}  // namespace

const MessageMap* CCmdTarget::GetMessageMap() const {
  static const MessageMap map{nullptr, {}};
  return &map;
}

bool CCmdTarget::DispatchMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
    for (const MessageEntry& entry : map->entries) {
      if (!Matches(entry, message, wParam)) continue;
      LRESULT answer = 0;
      if (auto* fn = std::get_if<HandlerVoid>(&entry.handler)) {
        (this->**fn)();
      } else if (auto* withId = std::get_if<HandlerWithId>(&entry.handler)) {
        (this->**withId)(LOWORD(wParam));
      } else if (auto* sys = std::get_if<HandlerSysCommand>(&entry.handler)) {
        (this->**sys)(static_cast<UINT>(wParam), lParam);
      } else if (auto* icon = std::get_if<HandlerQueryIcon>(&entry.handler)) {
        answer = reinterpret_cast<LRESULT>((this->**icon)());
      }
      if (result) *result = answer;
      return true;
    }
  }
  return false;
}
