// The HLSL effect texts against the GLSL ones, pixel by pixel: every pass of
// each HLSL text, translated to GLSL and run on the GL device, draws what the
// GLSL text's pass draws, on the path that uses the text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "headless_graphics.h"
#include "hlsl_translation.h"
#include "platform/effect.h"
#include "platform/gpu.h"
#include "tests/gpu_errors.h"
#include "visuals/frame_resources.h"
#include "visuals/glsl_effect_texts.h"
#include "visuals/hlsl_effect_texts.h"
#include "visuals/overlay_texture.h"
#include "visuals/render_frame.h"
#include "visuals/scene_effect.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 90;

struct Moment {
  float musicTime;
  float shake;
};
const Moment kMoments[] = {{4.0f, 0.0f}, {8.0f, 1.1f}, {13.7f, 0.0f}, {21.0f, -0.6f}};

// Share of pixels whose four channels all lie within 2 of 255 of the other image's.
double agreement(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t agreeing = 0;
  for (size_t i = 0; i < a.size(); i += 4) {
    bool near = true;
    for (size_t c = 0; c < 4; ++c) near = near && std::abs(a[i + c] - b[i + c]) <= 2;
    agreeing += near;
  }
  return static_cast<double>(agreeing) / static_cast<double>(a.size() / 4);
}

size_t countLit(const std::vector<uint8_t>& rgba) {
  size_t lit = 0;
  for (size_t i = 0; i < rgba.size(); i += 4) lit += (rgba[i] | rgba[i + 1] | rgba[i + 2]) != 0;
  return lit;
}

// The renderer's own passes, drawn once with the GLSL text's effect and once
// with the translated HLSL text's, by swapping the effect the renderer uses.
class HlslEffectText : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (const std::string tool = hlslToolsMissing(); !tool.empty()) {
      GTEST_SKIP() << tool << " was not found when the build was configured; scripts/bootstrap installs "
                   << "glslang-tools and spirv-cross, which this comparison needs";
    }
    ASSERT_EQ(openHeadlessGraphics(kWidth, kHeight, post()), "");
    opened_ = true;
    glsl_ = effect;
    const HlslPasses passes = translateHlslEffect(post() ? hlslEffectTextB.data() : hlslEffectTextA.data());
    ASSERT_EQ(passes.error, "");
    ASSERT_EQ(passes.names, glslPassNames(post() ? glslEffectTextB.data() : glslEffectTextA.data()))
        << "the techniques name the same passes in the same order";
    std::string log;
    hlsl_ = createEffect(glslEffectTextOf(passes).c_str(), &log);
    ASSERT_NE(hlsl_, nullptr) << log;
  }

  void TearDown() override {
    if (!opened_) return;
    effect = glsl_;
    releaseEffect(hlsl_);
    closeHeadlessGraphicsForTest();
  }

  bool post() const { return GetParam(); }
  GpuSurface* sceneTargetSurface() const { return post() ? sceneSurface : backBuffer; }

  std::vector<uint8_t> scene(Effect* with, const EffectValues& values) {
    effect = with;
    setEffectValues(values);
    beginEffect(effect);
    drawScenePass();
    endEffect(effect);
    effect = glsl_;
    return readPixels(sceneTargetSurface());
  }

  // The three blur passes of the glow, from whatever the scene target holds.
  std::vector<uint8_t> glow(Effect* with) {
    effect = with;
    beginEffect(effect);
    drawGlowBlur();
    endEffect(effect);
    effect = glsl_;
    return readPixels(glowSurfaceA);
  }

  // The overlay copy alone, unblended, over the whole target.
  std::vector<uint8_t> overlay(Effect* with) {
    const QuadVertex quad[4] = {{0, 0, 0, 1, 0, 0},
                                {screenWidth, 0, 0, 1, 1, 0},
                                {0, screenHeight, 0, 1, 0, 1},
                                {screenWidth, screenHeight, 0, 1, 1, 1}};
    setBlendMode(BlendMode::off);
    setRenderTarget(sceneTargetSurface());
    setTexture(1, overlayTexture);
    beginEffect(with);
    beginPass(with, 1);
    drawQuad(quad);
    endPass(with);
    endEffect(with);
    return readPixels(sceneTargetSurface());
  }

  void expectAgreement(const char* pass, const Moment& at, const std::vector<uint8_t>& fromGlsl,
                       const std::vector<uint8_t>& fromHlsl) {
    const double share = agreement(fromGlsl, fromHlsl);
    std::printf("text %c, pass %s, music time %.1f, shake %.1f: %.2f %% of pixels within 2/255\n", post() ? 'B' : 'A',
                pass, static_cast<double>(at.musicTime), static_cast<double>(at.shake), share * 100.0);
    EXPECT_GE(share, 0.995) << pass << " at music time " << at.musicTime << ", shake " << at.shake;
  }

  Effect* glsl_ = nullptr;
  Effect* hlsl_ = nullptr;
  bool opened_ = false;
};

TEST_P(HlslEffectText, EveryPassDrawsWhatTheGlslTextDraws) {
  for (const Moment& at : kMoments) {
    const EffectValues values = effectValuesAt(at.musicTime, at.shake);
    const std::vector<uint8_t> fromHlsl = scene(hlsl_, values);
    const std::vector<uint8_t> fromGlsl = scene(glsl_, values);
    ASSERT_GT(countLit(fromGlsl), fromGlsl.size() / 4 / 20) << "the scene should show something";
    expectAgreement("z1", at, fromGlsl, fromHlsl);
    if (post()) {
      // Both blur the GLSL text's scene, which the scene target now holds.
      const std::vector<uint8_t> glowFromGlsl = glow(glsl_);
      expectAgreement("zz", at, glowFromGlsl, glow(hlsl_));
      ASSERT_GT(countLit(glowFromGlsl), glowFromGlsl.size() / 4 / 20) << "the glow should show something";
    }
  }
  const std::vector<uint8_t> overlayFromGlsl = overlay(glsl_);
  ASSERT_GT(countLit(overlayFromGlsl), 0u) << "the overlay picture should show its logo";
  expectAgreement("zzz", kMoments[0], overlayFromGlsl, overlay(hlsl_));
  EXPECT_EQ(gpuErrors(), "");
}

INSTANTIATE_TEST_SUITE_P(Texts, HlslEffectText, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& text) { return text.param ? "B" : "A"; });

}  // namespace
