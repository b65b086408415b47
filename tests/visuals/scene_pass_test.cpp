// The scene pass of both effect texts on the GPU against the CPU evaluation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "headless_graphics.h"
#include "platform/effect.h"
#include "platform/gpu.h"
#include "scene_reference.h"
#include "tests/gpu_errors.h"
#include "visuals/frame_resources.h"
#include "visuals/render_frame.h"
#include "visuals/scene_effect.h"

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 54;

struct SceneCase {
  float musicTime;
  float shake;
};

// Draws the scene pass of the path in use and reads it back: text B into
// the scene target (all four channels), text A through the direct frame
// into the back buffer.
std::vector<uint8_t> drawScene(const EffectValues& v) {
  setEffectValues(v);
  if (rendererSettings.postProcess) {
    beginEffect(effect);
    drawScenePass();
    endEffect(effect);
    return readPixels(sceneSurface);
  }
  drawTestFrame(v);
  return readPixels(backBuffer);
}

uint8_t toByte(float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f)); }

// Share of pixels whose channels all lie within `tolerance` of the reference.
double matchingShare(const std::vector<uint8_t>& gpu, const std::vector<ReferencePixel>& cpu, int channels,
                     int tolerance) {
  size_t matching = 0;
  for (size_t i = 0; i < cpu.size(); ++i) {
    bool ok = true;
    for (int c = 0; c < channels; ++c) ok = ok && std::abs(gpu[4 * i + c] - toByte(cpu[i].rgba[c])) <= tolerance;
    matching += ok;
  }
  return static_cast<double>(matching) / static_cast<double>(cpu.size());
}

size_t countLit(const std::vector<uint8_t>& gpu) {
  size_t lit = 0;
  for (size_t i = 0; i < gpu.size(); i += 4) lit += (gpu[i] | gpu[i + 1] | gpu[i + 2]) != 0;
  return lit;
}

class ScenePass : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { ASSERT_EQ(openHeadlessGraphics(kWidth, kHeight, GetParam()), ""); }
  void TearDown() override { closeHeadlessGraphicsForTest(); }
  bool textB() const { return GetParam(); }
};

TEST_P(ScenePass, MatchesTheCpuEvaluation) {
  const SceneCase cases[] = {{1.5f, 0.0f}, {4.0f, 0.0f}, {8.0f, 0.0f}, {8.0f, 1.1f},
                             {13.7f, 0.0f}, {17.3f, -0.6f}, {21.0f, 0.0f}};
  // The march is chaotic where fine folded detail meets the pixel grid, so
  // single frames may fall a little short; all frames together must not.
  double shareSum = 0.0;
  for (const SceneCase& c : cases) {
    const EffectValues v = effectValuesAt(c.musicTime, c.shake);
    const std::vector<uint8_t> gpu = drawScene(v);
    const std::vector<ReferencePixel> cpu = referenceSceneImage({textB(), v}, kWidth, kHeight);
    const double share = matchingShare(gpu, cpu, textB() ? 4 : 3, 4);
    std::printf("text %c, music time %.1f, shake %.1f: %.2f %% of pixels within 4/255, %zu lit\n",
                textB() ? 'B' : 'A', static_cast<double>(c.musicTime), static_cast<double>(c.shake),
                share * 100.0, countLit(gpu));
    EXPECT_GE(share, 0.95) << "music time " << c.musicTime << ", shake " << c.shake;
    shareSum += share;
    EXPECT_GT(countLit(gpu), static_cast<size_t>(kWidth * kHeight / 20)) << "the scene should show something";
  }
  EXPECT_GE(shareSum / std::size(cases), 0.97);
  EXPECT_EQ(gpuErrors(), "");
}

TEST_P(ScenePass, MissedRaysAreZero) {
  const EffectValues v = effectValuesAt(13.7f, 0.0f);
  const std::vector<uint8_t> gpu = drawScene(v);
  const std::vector<ReferencePixel> cpu = referenceSceneImage({textB(), v}, kWidth, kHeight);
  size_t misses = 0, zeroMisses = 0;
  for (size_t i = 0; i < cpu.size(); ++i) {
    if (cpu[i].hit) continue;
    ++misses;
    zeroMisses += (gpu[4 * i] | gpu[4 * i + 1] | gpu[4 * i + 2]) == 0;
  }
  ASSERT_GT(misses, cpu.size() / 20) << "the view should contain rays that meet nothing";
  EXPECT_GE(static_cast<double>(zeroMisses), 0.97 * static_cast<double>(misses));
}

TEST_P(ScenePass, PalettePairChangesAtHalfAUnitOfU) {
  // Just before and after u = 0.5 the fade differs by 0.4 %: any visible
  // change of colour comes from the palette pair.
  EffectValues before = effectValuesAt(8.0f, 0.0f);
  EffectValues after = before;
  before.u = 0.499f;
  after.u = 0.501f;
  const std::vector<uint8_t> a = drawScene(before);
  const std::vector<uint8_t> b = drawScene(after);
  size_t changed = 0, bright = 0;
  for (size_t i = 0; i < a.size(); i += 4) {
    int largest = 0, level = 0;
    for (int c = 0; c < 3; ++c) {
      largest = std::max(largest, std::abs(a[i + c] - b[i + c]));
      level = std::max(level, static_cast<int>(a[i + c]));
    }
    if (level < 24) continue;
    ++bright;
    changed += largest > 2;
  }
  std::printf("%zu of %zu bright pixels change colour\n", changed, bright);
  ASSERT_GT(bright, 50u);
  EXPECT_GT(changed, bright / 2);
  EXPECT_GE(matchingShare(b, referenceSceneImage({textB(), after}, kWidth, kHeight), 3, 4), 0.97);

  // Between 0.2 and 0.45 the pair stays: colours only scale with the fade.
  EffectValues early = before;
  early.u = 0.2f;
  const std::vector<uint8_t> e = drawScene(early);
  for (size_t i = 0; i < a.size(); i += 4) {
    for (int c = 0; c < 3; ++c) {
      if (a[i + c] < 250) {
        EXPECT_NEAR(e[i + c], a[i + c] * 0.2 / 0.499, 3.0) << "pixel " << i / 4;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, ScenePass, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& text) { return text.param ? "B" : "A"; });

TEST(ScenePassFades, TextAIsBlackAtTheStartOfTheSong) {
  ASSERT_EQ(openHeadlessGraphics(kWidth, kHeight, false), "");
  EffectValues v = effectValuesAt(8.0f, 0.0f);
  v.u = 0.0f;
  EXPECT_EQ(countLit(drawScene(v)), 0u);
  closeHeadlessGraphicsForTest();
}

TEST(ScenePassFades, TextBIsBlackAtTheStartAndOutsideTheVignette) {
  ASSERT_EQ(openHeadlessGraphics(kWidth, kHeight, true), "");
  EffectValues v = effectValuesAt(8.0f, 0.0f);
  v.t = 0.0f;  // the far limit is 0: every ray ends after one step
  EXPECT_EQ(countLit(drawScene(v)), 0u);

  const std::vector<uint8_t> lit = drawScene(effectValuesAt(8.0f, 0.0f));
  size_t outside = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const float dx = quadCoordinate(true, x, kWidth) - 0.3f, dy = quadCoordinate(true, y, kHeight) - 0.5f;
      if (1.5f - 2.0f * std::sqrt(dx * dx + dy * dy) >= 0.0f) continue;
      ++outside;
      const size_t i = (static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 4;
      EXPECT_EQ(lit[i] | lit[i + 1] | lit[i + 2], 0) << "pixel " << x << "," << y;
    }
  }
  EXPECT_GT(outside, 0u);
  closeHeadlessGraphicsForTest();
}

}  // namespace
