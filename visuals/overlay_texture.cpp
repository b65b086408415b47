#include "visuals/overlay_texture.h"

#include "platform/gpu.h"
#include "visuals/overlay_picture.h"

GpuTexture* overlayTexture = nullptr;

void convertOverlayRows(const unsigned char* rgb, int width, int height, size_t rowBytes, uint32_t* texels,
                        int pitch) {
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = rgb + rowBytes * static_cast<size_t>(y);
    uint32_t* out = texels + static_cast<size_t>(pitch) * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      const uint32_t r = row[3 * x], g = row[3 * x + 1], b = row[3 * x + 2];
      const uint32_t a = (r | g | b) != 0 ? 255u : 0u;
      out[x] = a << 24 | r << 16 | g << 8 | b;
    }
  }
}

bool createOverlayTexture(std::string* error) {
  overlayTexture = createTexture(kOverlayWidth, kOverlayHeight, error);
  if (!overlayTexture) return false;
  int pitch = 0;
  std::string reason;
  uint32_t* texels = lockTexture(overlayTexture, &pitch, &reason);
  if (!texels) {
    *error = "Could not fill the overlay texture: " + reason;
    releaseTexture(overlayTexture);
    overlayTexture = nullptr;
    return false;
  }
  convertOverlayRows(overlayPicture(), kOverlayWidth, kOverlayHeight, kOverlayRowBytes, texels, pitch);
  unlockTexture(overlayTexture);
  return true;
}
