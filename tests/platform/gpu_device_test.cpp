// The window, the device's conventions (row 0 at the top everywhere,
// stage state, blending) and its failure messages.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/gpu.h"
#include "platform/window.h"
#include "tests/gpu_errors.h"

namespace {

WindowRequest headless(int width, int height) { return WindowRequest{"test", width, height, false, true, false, true}; }

class GpuDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(openWindow(headless(8, 6), &error)) << error;
  }
  void TearDown() override { closeWindow(); }

  // A texture whose texels are given as 0xAARRGGBB, rows top to bottom.
  GpuTexture* textureOf(int width, int height, const std::vector<uint32_t>& texels) {
    std::string error;
    GpuTexture* texture = createTexture(width, height, &error);
    EXPECT_NE(texture, nullptr) << error;
    int pitch = 0;
    uint32_t* out = lockTexture(texture, &pitch, nullptr);
    EXPECT_NE(out, nullptr);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) out[y * pitch + x] = texels[static_cast<size_t>(y * width + x)];
    }
    unlockTexture(texture);
    return texture;
  }

  std::vector<uint8_t> read(GpuSurface* surface) {
    int w = 0, h = 0;
    surfaceSize(surface, &w, &h);
    std::vector<uint8_t> rgba(static_cast<size_t>(w * h * 4));
    readSurface(surface, rgba.data());
    return rgba;
  }
};

void fillQuad(QuadVertex quad[4], float w, float h) {
  quad[0] = {0, 0, 0, 1, 0, 0};
  quad[1] = {w, 0, 0, 1, 1, 0};
  quad[2] = {0, h, 0, 1, 0, 1};
  quad[3] = {w, h, 0, 1, 1, 1};
}

TEST_F(GpuDevice, PicturesKeepTheirTopRowAtTheTopOnEverySurface) {
  // 8 x 6: row 0 red, the rest blue; column 7 green.
  std::vector<uint32_t> texels(48, 0xFF0000FFu);
  for (int x = 0; x < 8; ++x) texels[static_cast<size_t>(x)] = 0xFFFF0000u;
  for (int y = 0; y < 6; ++y) texels[static_cast<size_t>(y * 8 + 7)] = 0xFF00FF00u;
  GpuTexture* picture = textureOf(8, 6, texels);
  std::string error;
  GpuTexture* target = createRenderTexture(8, 6, &error);
  ASSERT_NE(target, nullptr) << error;
  QuadVertex quad[4];
  fillQuad(quad, 8, 6);

  // Texture -> render texture -> back buffer, each a plain copy.
  setRenderTarget(textureSurface(target));
  setTexture(0, picture);
  drawQuad(quad);
  setRenderTarget(backBufferSurface());
  setTexture(0, target);
  drawQuad(quad);

  for (GpuSurface* surface : {textureSurface(target), backBufferSurface()}) {
    const std::vector<uint8_t> rgba = read(surface);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 8; ++x) {
        const uint8_t* p = &rgba[static_cast<size_t>((y * 8 + x) * 4)];
        const uint32_t want = texels[static_cast<size_t>(y * 8 + x)];
        EXPECT_EQ(p[0], (want >> 16) & 0xFF) << x << "," << y;
        EXPECT_EQ(p[1], (want >> 8) & 0xFF) << x << "," << y;
        EXPECT_EQ(p[2], want & 0xFF) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(gpuErrors(), "");
  releaseTexture(target);
  releaseTexture(picture);
}

TEST_F(GpuDevice, BlendModesAndBorderAddressing) {
  std::string error;
  GpuTexture* target = createRenderTexture(8, 6, &error);
  ASSERT_NE(target, nullptr) << error;
  GpuTexture* grey = textureOf(1, 1, {0xFF404040u});
  GpuTexture* halfRed = textureOf(1, 1, {0x80FF0000u});
  QuadVertex quad[4];
  fillQuad(quad, 8, 6);
  setRenderTarget(textureSurface(target));

  setBlendMode(BlendMode::off);
  setTexture(0, grey);
  drawQuad(quad);
  setBlendMode(BlendMode::add);
  drawQuad(quad);
  std::vector<uint8_t> rgba = read(textureSurface(target));
  EXPECT_EQ(rgba[0], 0x80);

  setBlendMode(BlendMode::alphaBlend);
  setTexture(0, halfRed);
  drawQuad(quad);
  rgba = read(textureSurface(target));
  EXPECT_NEAR(rgba[0], 0xFF * 0x80 / 255.0 + 0x80 * (1 - 0x80 / 255.0), 1.0);
  EXPECT_NEAR(rgba[1], 0x80 * (1 - 0x80 / 255.0), 1.0);

  // A 2 x 2 white picture stretched over 8 x 6 with linear magnification:
  // with wrap addressing it stays white; with border addressing the left
  // column reads 0.375 of transparent black (it samples at 0.125 texels).
  GpuTexture* white = textureOf(2, 2, {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu});
  setBlendMode(BlendMode::off);
  setTexture(0, white);
  setSamplerState(0, SamplerFilter::linear, SamplerAddress::wrap);
  drawQuad(quad);
  rgba = read(textureSurface(target));
  EXPECT_EQ(rgba[(2 * 8) * 4], 255);
  setSamplerState(0, SamplerFilter::linear, SamplerAddress::border);
  drawQuad(quad);
  rgba = read(textureSurface(target));
  EXPECT_NEAR(rgba[(2 * 8) * 4], 0.625 * 255, 1.5);
  EXPECT_NEAR(rgba[(2 * 8) * 4 + 3], 0.625 * 255, 1.5) << "the border is transparent";
  EXPECT_EQ(rgba[(2 * 8 + 3) * 4], 255) << "the middle stays white";
  EXPECT_EQ(gpuErrors(), "");
  releaseTexture(white);
  releaseTexture(halfRed);
  releaseTexture(grey);
  releaseTexture(target);
}

// A size the device refuses is a failure with a message naming it, and
// leaves no error behind for the next check.
TEST_F(GpuDevice, TexturesOfSizesTheDeviceRefusesFailWithAMessage) {
  for (const auto& [width, height] : {std::pair{0, 4}, std::pair{1 << 20, 4}}) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    std::string error;
    EXPECT_EQ(createTexture(width, height, &error), nullptr) << size;
    EXPECT_NE(error.find(size), std::string::npos) << error;
    error.clear();
    EXPECT_EQ(createRenderTexture(width, height, &error), nullptr) << size;
    EXPECT_NE(error.find(size), std::string::npos) << error;
  }
  EXPECT_EQ(gpuErrors(), "");
}

TEST(GpuWindow, RefusesBadSizesAndASecondWindowWithAMessage) {
  std::string error;
  EXPECT_FALSE(openWindow(headless(0, 600), &error));
  EXPECT_NE(error.find("0 x 600"), std::string::npos) << error;

  ASSERT_TRUE(openWindow(headless(16, 16), &error)) << error;
  error.clear();
  EXPECT_FALSE(openWindow(headless(16, 16), &error));
  EXPECT_FALSE(error.empty());
  int w = 0, h = 0;
  surfaceSize(backBufferSurface(), &w, &h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  closeWindow();
}

}  // namespace
