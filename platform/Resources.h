// What the layer loads from the program's resources. The program's res/
// folder defines these functions; the layer only looks them up by id.
#pragma once

#include <cstdint>
#include <span>

#include "platform/DialogTemplate.h"

struct ImageResource {
  int width;
  int height;
  std::span<const std::uint8_t> png;  // the image as a PNG file
};

// nullptr when there is no such resource.
const DialogTemplate* FindDialogTemplate(UINT id);
const char* FindStringResource(UINT id);  // UTF-8
const ImageResource* FindBitmapResource(UINT id);
// The images of an icon group, smallest first; empty when there is none.
std::span<const ImageResource> FindIconGroup(UINT id);
