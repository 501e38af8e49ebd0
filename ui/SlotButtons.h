// The buttons of the three configuration slots. Their ids do not follow
// the slot order.
#pragma once

#include <array>

#include "res/resource.h"

struct SlotButtons {
  int slot;
  int saveId;
  int loadId;
};

inline constexpr std::array<SlotButtons, 3> kSlotButtons{{
    {1, IDC_SAVE_CONFIG1, IDC_LOAD_CONFIG1},
    {2, IDC_SAVE_CONFIG2, IDC_LOAD_CONFIG2},
    {3, IDC_SAVE_CONFIG3, IDC_LOAD_CONFIG3},
}};
