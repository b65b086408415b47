// A window whose drawable is not the chosen size (a display that could not
// switch modes) still shows the whole picture: scaled, aspect kept, bars.
#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gpu.h"
#include "tests/gpu_errors.h"
#include "platform/window.h"

TEST(ScaledPresent, AMismatchedDrawableShowsTheWholePictureBetweenBars) {
  // A 16 x 8 picture, left half red, right half blue. The offscreen driver's
  // buffer stays 16 x 8, so an 8 x 8 drawable is its lower-left corner.
  std::string error;
  ASSERT_TRUE(openWindow(WindowRequest{"test", 16, 8, false, true, false, true}, &error)) << error;
  GpuTexture* picture = createTexture(16, 8, &error);
  int pitch = 0;
  uint32_t* texels = lockTexture(picture, &pitch, nullptr);
  ASSERT_NE(texels, nullptr) << error;
  for (int i = 0; i < 16 * 8; ++i) texels[i / 16 * pitch + i % 16] = i % 16 < 8 ? 0xFFFF0000u : 0xFF0000FFu;
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
  for (int i = 0; i < 64; ++i) {
    const uint8_t* p = &shown[static_cast<size_t>(i) * 4];
    const bool seam = (i % 8 == 3 || i % 8 == 4) && i / 8 >= 2 && i / 8 < 6;
    seen += seam ? '~' : (p[0] | p[1] | p[2]) == 0 ? '.' : p[0] == 255 && p[2] == 0 ? 'R' : p[2] == 255 && p[0] == 0 ? 'B' : '?';
    if (i % 8 == 7) seen += '|';
  }
  EXPECT_EQ(seen, "........|........|RRR~~BBB|RRR~~BBB|RRR~~BBB|RRR~~BBB|........|........|");
  // What is drawn and read back (the capture's frames) keeps the chosen size.
  int w = 0, h = 0;
  surfaceSize(backBufferSurface(), &w, &h);
  std::vector<uint8_t> frame(16 * 8 * 4);
  readSurface(backBufferSurface(), frame.data());
  EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h) + " " + std::to_string(frame[0]) + "," +
                std::to_string(frame[frame.size() - 2]),
            "16x8 255,255");
  EXPECT_EQ(gpuErrors(), "");
  releaseTexture(picture);
  closeWindow();
}
