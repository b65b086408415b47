#include "visuals/overlay_picture.h"

#include "visuals/overlay_drawing.h"

namespace {

alignas(64) unsigned char pictureBytes[kOverlayBytes];
bool pictureDrawn = false;

}  // namespace

const unsigned char* overlayPicture() {
  if (!pictureDrawn) {
    drawOverlayPicture(pictureBytes);
    pictureDrawn = true;
  }
  return pictureBytes;
}
