// Where the minimised window draws its icon: centred, rounding as the
// original arithmetic does (integer division truncates toward zero).
#pragma once

constexpr int IconOrigin(int clientExtent, int iconExtent) {
  return (clientExtent - iconExtent + 1) / 2;
}
