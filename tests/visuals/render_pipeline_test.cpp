// The frame renderer's passes after the scene: blur chain, glow, overlay,
// the copy to the screen, and both paths end to end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "headless_graphics.h"
#include "platform/effect.h"
#include "platform/gpu.h"
#include "tests/gpu_errors.h"
#include "visuals/frame_resources.h"
#include "visuals/overlay_picture.h"
#include "visuals/overlay_texture.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"
#include "visuals/scene_effect.h"

namespace {

// A texture of one flat colour (0xAARRGGBB).
GpuTexture* flatTexture(uint32_t texel) {
  std::string error;
  GpuTexture* texture = createTexture(1, 1, &error);
  EXPECT_NE(texture, nullptr) << error;
  int pitch = 0;
  *lockTexture(texture, &pitch, nullptr) = texel;
  unlockTexture(texture);
  return texture;
}

// Fills a render target with one colour by copying a 1-texel texture over it.
void fill(GpuSurface* surface, float width, float height, uint32_t texel) {
  GpuTexture* colour = flatTexture(texel);
  const QuadVertex quad[4] = {{0, 0, 0, 1, 0.5f, 0.5f},
                              {width, 0, 0, 1, 0.5f, 0.5f},
                              {0, height, 0, 1, 0.5f, 0.5f},
                              {width, height, 0, 1, 0.5f, 0.5f}};
  setBlendMode(BlendMode::off);
  setRenderTarget(surface);
  setTexture(0, colour);
  drawQuad(quad);
  setTexture(0, nullptr);
  releaseTexture(colour);
}

const uint8_t* pixel(const std::vector<uint8_t>& rgba, int width, int x, int y) {
  return &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
}

TEST(RenderPipeline, BlurChainRaisesAFlatGreyAboutTwoAndAHalfTimes) {
  // Quarter targets of 128 x 112: the middle pixel's taps stay inside.
  ASSERT_EQ(openHeadlessGraphics(512, 448, true), "");
  fill(sceneSurface, screenWidth, screenHeight, 0xFF282828u);  // 40
  beginEffect(effect);
  drawGlowBlur();
  endEffect(effect);
  const std::vector<uint8_t> glow = readPixels(glowSurfaceA);
  const uint8_t* middle = pixel(glow, 128, 64, 56);
  std::printf("flat grey 40 after the three blur passes: %d %d %d\n", middle[0], middle[1], middle[2]);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(middle[c], 2.50 * 40, 3.0) << "channel " << c;
  // Near an edge the taps reach past it and read black.
  EXPECT_LT(pixel(glow, 128, 0, 56)[0], middle[0] * 3 / 4);
  EXPECT_EQ(gpuErrors(), "");
  closeHeadlessGraphicsForTest();
}

TEST(RenderPipeline, GlowCoversTheScreenAtAWidthOf1366WithABlackBorder) {
  ASSERT_EQ(openHeadlessGraphics(1366, 768, true), "");
  EXPECT_EQ(quarterWidth, 341.0f);
  EXPECT_EQ(quarterHeight, 192.0f);
  int w = 0, h = 0;
  surfaceSize(glowSurfaceA, &w, &h);
  EXPECT_EQ(w, 341);
  EXPECT_EQ(h, 192);

  fill(glowSurfaceA, quarterWidth, quarterHeight, 0xFFFFFFFFu);
  fill(sceneSurface, screenWidth, screenHeight, 0xFF000000u);
  addGlow();
  setBlendMode(BlendMode::off);
  const std::vector<uint8_t> scene = readPixels(sceneSurface);
  // Outermost pixels sample 0.125 of a quarter texel from the edge: 0.375 of
  // the transparent black border mixes in; inside, the glow is full.
  EXPECT_EQ(pixel(scene, 1366, 683, 384)[0], 255);
  EXPECT_NEAR(pixel(scene, 1366, 0, 384)[0], 0.625 * 255, 2.0);
  EXPECT_NEAR(pixel(scene, 1366, 1365, 384)[0], 0.625 * 255, 2.0);
  EXPECT_NEAR(pixel(scene, 1366, 683, 0)[1], 0.625 * 255, 2.0);
  EXPECT_NEAR(pixel(scene, 1366, 683, 767)[2], 0.625 * 255, 2.0);
  EXPECT_EQ(pixel(scene, 1366, 2, 384)[0], 255);
  EXPECT_EQ(pixel(scene, 1366, 1363, 384)[0], 255);
  EXPECT_EQ(gpuErrors(), "");
  closeHeadlessGraphicsForTest();
}

TEST(RenderPipeline, OverlayIsOpaqueUnlessPureBlack) {
  const unsigned char picture[2 * 3 + 2] = {0, 0, 1, 0, 0, 0, 0xEE, 0xEE};
  uint32_t texels[4] = {};
  convertOverlayRows(picture, 2, 1, 8, texels, 4);
  EXPECT_EQ(texels[0], 0xFF000001u);
  EXPECT_EQ(texels[1], 0x00000000u);
  const unsigned char colours[6] = {255, 128, 7, 1, 0, 0};
  convertOverlayRows(colours, 2, 1, 6, texels, 2);
  EXPECT_EQ(texels[0], 0xFFFF8007u);
  EXPECT_EQ(texels[1], 0xFF010000u);

  // On the GPU: (0, 0, 1) hides the scene, (0, 0, 0) lets it through.
  ASSERT_EQ(openHeadlessGraphics(8, 8, true), "");
  GpuTexture* shown = overlayTexture;
  std::string error;
  overlayTexture = createTexture(2, 1, &error);
  ASSERT_NE(overlayTexture, nullptr) << error;
  int pitch = 0;
  convertOverlayRows(picture, 2, 1, 6, lockTexture(overlayTexture, &pitch, nullptr), pitch);
  unlockTexture(overlayTexture);
  fill(sceneSurface, screenWidth, screenHeight, 0xFF808080u);
  drawOverlay();
  setBlendMode(BlendMode::off);
  const std::vector<uint8_t> scene = readPixels(sceneSurface);
  EXPECT_EQ(pixel(scene, 8, 1, 4)[0], 0);
  EXPECT_EQ(pixel(scene, 8, 1, 4)[2], 1);
  EXPECT_EQ(pixel(scene, 8, 6, 4)[0], 0x80);
  EXPECT_EQ(pixel(scene, 8, 6, 4)[2], 0x80);
  releaseTexture(overlayTexture);
  overlayTexture = shown;
  closeHeadlessGraphicsForTest();
}

TEST(RenderPipeline, BlackSceneShowsTheOverlayPictureTheRightWayUp) {
  // With t = 0 the scene and therefore the glow are black: the frame is the
  // overlay picture alone, stretched and point-sampled.
  constexpr int kW = 320, kH = 240;
  ASSERT_EQ(openHeadlessGraphics(kW, kH, true), "");
  drawTestFrame(effectValuesAt(0.0f, 0.0f));
  const std::vector<uint8_t> frame = readPixels(backBuffer);
  const unsigned char* overlay = overlayPicture();
  size_t mismatches = 0, logoLeft = kW, logoTop = kH, logoBottom = 0;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const uint8_t* p = pixel(frame, kW, x, y);
      // The texel under the pixel centre; where the centre falls on a texel
      // edge, either neighbour is right.
      const double tx = (x + 0.5) * kOverlayWidth / kW, ty = (y + 0.5) * kOverlayHeight / kH;
      bool matches = false;
      for (double dx : {-1e-3, 1e-3}) {
        for (double dy : {-1e-3, 1e-3}) {
          const size_t i = static_cast<size_t>(std::floor(ty + dy)) * kOverlayRowBytes +
                           static_cast<size_t>(std::floor(tx + dx)) * 3;
          matches = matches || (p[0] == overlay[i] && p[1] == overlay[i + 1] && p[2] == overlay[i + 2]);
        }
      }
      mismatches += !matches;
      if (p[0] | p[1] | p[2]) {
        logoLeft = std::min(logoLeft, static_cast<size_t>(x));
        logoTop = std::min(logoTop, static_cast<size_t>(y));
        logoBottom = std::max(logoBottom, static_cast<size_t>(y));
      }
    }
  }
  EXPECT_EQ(mismatches, 0u);
  EXPECT_GE(logoLeft, static_cast<size_t>(kW * 70 / 100)) << "the logo stands along the right edge";
  EXPECT_LE(logoTop, 3u);
  EXPECT_GE(logoBottom, static_cast<size_t>(kH - 4));
  closeHeadlessGraphicsForTest();
}

TEST(RenderPipeline, BothPathsDrawAndPresentWithoutAnError) {
  for (bool post : {true, false}) {
    ASSERT_EQ(openHeadlessGraphics(64, 36, post), "");
    renderTestFrame(effectValuesAt(8.0f, 0.3f));
    renderTestFrame(effectValuesAt(8.0f, 0.3f));
    EXPECT_EQ(gpuErrors(), "") << (post ? "post-processing path" : "direct path");
    closeHeadlessGraphicsForTest();
  }
}

}  // namespace
