// The overlay picture laid over every post-processed frame: a vertical logo
// along the right edge, pure black (transparent) elsewhere.
#pragma once

#include <cstddef>

inline constexpr int kOverlayWidth = 2048;
inline constexpr int kOverlayHeight = 1536;
inline constexpr size_t kOverlayRowBytes = kOverlayWidth * 3;
inline constexpr size_t kOverlayBytes = kOverlayRowBytes * kOverlayHeight;  // 9 437 184

// Rows top to bottom, three bytes a pixel (red, green, blue), nothing
// between rows. Drawn into a static buffer by the first call (start-up,
// on the main thread); later calls return the same bytes.
const unsigned char* overlayPicture();
