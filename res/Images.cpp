// The icon group and the About bitmap, embedded as PNG files at build time
// (see EmbedFiles.cmake). The pictures are drawn by images/make-images.sh.
#include "platform/Resources.h"

#include "res/EmbeddedImages.h"
#include "res/resource.h"

namespace {

// Smallest first, the order the layer hands them to the toolkit in.
constexpr ImageResource kMainIcon[] = {
    {16, 16, embedded::icon_16_png},    {24, 24, embedded::icon_24_png},
    {32, 32, embedded::icon_32_png},    {48, 48, embedded::icon_48_png},
    {256, 256, embedded::icon_256_png},
};

constexpr ImageResource kAboutBitmap{132, 78, embedded::about_png};

}  // namespace

const ImageResource* FindBitmapResource(UINT id) {
  return id == IDB_ABOUT ? &kAboutBitmap : nullptr;
}

std::span<const ImageResource> FindIconGroup(UINT id) {
  if (id == IDR_MAINFRAME) return kMainIcon;
  return {};
}
