// A window whose drawable is not the chosen size (a display that could not
// switch modes) still shows the whole picture: scaled, aspect kept, bars.
#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gpu.h"
#include "platform/window.h"

namespace {

TEST(ScaledPresent, AMismatchedDrawableShowsTheWholePictureBetweenBars) {
  // The picture is 16 x 8: left half red, right half blue. The offscreen
  // driver's buffer stays 16 x 8, so a drawable of 8 x 8 is its lower-left
  // corner, where the picture must appear as 8 x 4 with two-row bars.
  std::string error;
  ASSERT_TRUE(openWindow(WindowRequest{"test", 16, 8, false, true, false, true}, &error)) << error;
  GpuTexture* picture = createTexture(16, 8, &error);
  ASSERT_NE(picture, nullptr) << error;
  int pitch = 0;
  uint32_t* texels = lockTexture(picture, &pitch);
  ASSERT_NE(texels, nullptr);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) texels[y * pitch + x] = x < 8 ? 0xFFFF0000u : 0xFF0000FFu;
  unlockTexture(picture);

  SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), 8, 8);
  const QuadVertex quad[4] = {{0, 0, 0, 1, 0, 0}, {16, 0, 0, 1, 1, 0}, {0, 8, 0, 1, 0, 1}, {16, 8, 0, 1, 1, 1}};
  for (int frame = 0; frame < 2; ++frame) {  // the switch, then a frame drawn after it
    setRenderTarget(backBufferSurface());
    setTexture(0, picture);
    drawQuad(quad);
    presentFrame();
  }

  std::vector<uint8_t> shown(8 * 8 * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadPixels(0, 0, 8, 8, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
  // Bottom row first: bars (.), red (R), blue (B); columns 3 and 4 mix at the seam.
  std::string seen;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const uint8_t* p = &shown[static_cast<size_t>((y * 8 + x) * 4)];
      const bool seam = (x == 3 || x == 4) && y >= 2 && y < 6;
      seen += seam ? '~' : (p[0] | p[1] | p[2]) == 0 ? '.' : p[0] == 255 && p[2] == 0 ? 'R' : p[0] == 0 && p[2] == 255 ? 'B' : '?';
    }
    seen += '|';
  }
  EXPECT_EQ(seen, "........|........|RRR~~BBB|RRR~~BBB|RRR~~BBB|RRR~~BBB|........|........|");
  // What is drawn and read stays the chosen size.
  int w = 0, h = 0;
  surfaceSize(backBufferSurface(), &w, &h);
  EXPECT_EQ(w * 100 + h, 1608);
  std::vector<uint8_t> frame(16 * 8 * 4);
  readSurface(backBufferSurface(), frame.data());
  EXPECT_EQ(frame[0], 255);
  EXPECT_EQ(frame[(16 * 8 - 1) * 4 + 2], 255);
  EXPECT_EQ(takeGpuError(), "");
  releaseTexture(picture);
  closeWindow();
}

}  // namespace
