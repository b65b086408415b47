// The built-in overlay picture: a logo along the right edge, black elsewhere,
// drawn at start-up byte for byte the same on every build.
#include <gtest/gtest.h>

#include "platform/byte_digest.h"
#include "visuals/overlay_picture.h"

namespace {

TEST(OverlayPicture, IsTheSameBytesOnEveryBuildAndEveryCall) {
  static_assert(kOverlayBytes == 9437184);
  const unsigned char* picture = overlayPicture();
  // The picture as drawn by the Linux build; Windows draws the same bytes.
  EXPECT_EQ(byteDigest(picture, kOverlayBytes), 0x60b00e17d2716983ull);
  EXPECT_EQ(overlayPicture(), picture);
}

TEST(OverlayPicture, LogoAlongTheRightEdgeCoversAboutAnEighthOfThePicture) {
  const unsigned char* picture = overlayPicture();
  size_t lit = 0;
  int left = kOverlayWidth, right = -1, top = kOverlayHeight, bottom = -1;
  for (int y = 0; y < kOverlayHeight; ++y) {
    for (int x = 0; x < kOverlayWidth; ++x) {
      const unsigned char* p = &picture[static_cast<size_t>(y) * kOverlayRowBytes + static_cast<size_t>(x) * 3];
      if ((p[0] | p[1] | p[2]) == 0) continue;
      ++lit;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  const double share = static_cast<double>(lit) / (kOverlayWidth * kOverlayHeight);
  EXPECT_NEAR(share, 0.12, 0.01);
  EXPECT_NEAR(left, 1538, 8);
  EXPECT_NEAR(right, 2028, 8);
  EXPECT_NEAR(top, 14, 8);
  EXPECT_NEAR(bottom, 1518, 8);
}

}  // namespace
