// Effects: the technique block, compiler failures and warnings, parameters
// by name on every pass, the matrix convention and the two sampler stages.
#include <gtest/gtest.h>

#include <vector>

#include "platform/effect.h"
#include "platform/gpu.h"
#include "platform/window.h"
#include "tests/gpu_errors.h"

namespace {

class EffectLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(openWindow(WindowRequest{"test", 4, 4, false, true, false, true}, &error)) << error;
    target = createRenderTexture(4, 4, &error);
    ASSERT_NE(target, nullptr) << error;
  }
  void TearDown() override {
    releaseEffect(fx);
    releaseTexture(target);
    closeWindow();
  }

  Effect* compile(const std::string& text) {
    std::string log;
    fx = createEffect(text.c_str(), &log);
    EXPECT_NE(fx, nullptr) << log;
    return fx;
  }

  // Draws pass n over the 4 x 4 target and returns the top-left pixel.
  std::vector<int> drawPass(int pass) {
    const QuadVertex quad[4] = {{0, 0, 0, 1, 0, 0}, {4, 0, 0, 1, 1, 0}, {0, 4, 0, 1, 0, 1}, {4, 4, 0, 1, 1, 1}};
    setRenderTarget(textureSurface(target));
    beginEffect(fx);
    beginPass(fx, pass);
    drawQuad(quad);
    endPass(fx);
    endEffect(fx);
    std::vector<uint8_t> rgba(64);
    readSurface(textureSurface(target), rgba.data());
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
  }

  GpuTexture* target = nullptr;
  Effect* fx = nullptr;
};

TEST_F(EffectLayer, CompilerAndTechniqueFailuresReturnTheReason) {
  std::string log;
  EXPECT_EQ(createEffect("#version 330 core\nvec4 a(vec2 v) { return vec4(v, 0., 1.); }\n", &log), nullptr);
  EXPECT_NE(log.find("technique"), std::string::npos) << log;

  log.clear();
  EXPECT_EQ(createEffect("#version 330 core\nvec4 a(vec2 v) { return vec4(v, 0., 1.); }\ntechnique { pass a }\n",
                         &log),
            nullptr);
  EXPECT_NE(log.find("pass"), std::string::npos) << log;

  log.clear();
  EXPECT_EQ(createEffect("#version 330 core\nvec4 a(vec2 v) { return undeclared; }\ntechnique { pass a; }\n", &log),
            nullptr);
  EXPECT_NE(log.find("pass 0 (a)"), std::string::npos) << log;
  EXPECT_NE(log.find("undeclared"), std::string::npos) << "the driver's own words: " << log;

  log.clear();
  EXPECT_EQ(createEffect("#version 330 core\nvec4 a(vec2 v) { return vec4(1.); }\ntechnique { pass missing; }\n", &log),
            nullptr);
  EXPECT_FALSE(log.empty());
}

TEST_F(EffectLayer, AWarningIsNoFailure) {
  // The driver warns about an unknown extension asked for with "warn" and
  // still compiles.
  compile(
      "#version 330 core\n#extension GL_GM_no_such_extension : warn\n"
      "vec4 a(vec2 v) { return vec4(1.); }\ntechnique { pass a; }\n");
  EXPECT_EQ(effectPassCount(fx), 1);
}

TEST_F(EffectLayer, ParametersReachEveryPass) {
  compile(
      "#version 330 core\nuniform float t;\nuniform vec4 xy;\n"
      "vec4 first(vec2 v) { return vec4(t, 0., 0., 1.); }\n"
      "vec4 second(vec2 v) { return vec4(0., t, xy.w, 1.); }\n"
      "technique {\n  pass first;\n  pass second;\n}\n");
  ASSERT_EQ(effectPassCount(fx), 2);
  EXPECT_TRUE(setEffectFloat(fx, "t", 0.5f));
  const float gain[4] = {0, 0, 0, 0.25f};
  EXPECT_TRUE(setEffectVector(fx, "xy", gain));
  EXPECT_FALSE(setEffectFloat(fx, "nothing", 1.0f));
  EXPECT_FALSE(setEffectFloat(fx, "xy", 1.0f)) << "a vector is not a float";
  EXPECT_NEAR(drawPass(0)[0], 128, 1);
  EXPECT_NEAR(drawPass(1)[1], 128, 1);
  EXPECT_NEAR(drawPass(1)[2], 64, 1);

  // Set while a pass is in progress: the pass draws with the new value.
  const QuadVertex quad[4] = {{0, 0, 0, 1, 0, 0}, {4, 0, 0, 1, 1, 0}, {0, 4, 0, 1, 0, 1}, {4, 4, 0, 1, 1, 1}};
  beginEffect(fx);
  beginPass(fx, 0);
  setEffectFloat(fx, "t", 1.0f);
  drawQuad(quad);
  endPass(fx);
  endEffect(fx);
  std::vector<uint8_t> rgba(64);
  readSurface(textureSurface(target), rgba.data());
  EXPECT_EQ(rgba[0], 255);
  EXPECT_EQ(gpuErrors(), "");
}

TEST_F(EffectLayer, MatricesTransformRowVectors) {
  compile(
      "#version 330 core\nuniform mat4 m;\n"
      "vec4 row0(vec2 v) { return vec4(1., 0., 0., 0.) * m; }\n"
      "vec4 column0(vec2 v) { return m * vec4(1., 0., 0., 0.); }\n"
      "technique { pass row0; pass column0; }\n");
  // Rows as the frame loop builds them: row 0 = (0.1, 0.2, 0.3, 0.4).
  const float rows[16] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f,
                          0.9f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  ASSERT_TRUE(setEffectMatrix(fx, "m", rows));
  const std::vector<int> row = drawPass(0);
  EXPECT_NEAR(row[0], 0.1 * 255, 1);
  EXPECT_NEAR(row[1], 0.2 * 255, 1);
  EXPECT_NEAR(row[2], 0.3 * 255, 1);
  EXPECT_NEAR(row[3], 0.4 * 255, 1);
  const std::vector<int> column = drawPass(1);
  EXPECT_NEAR(column[1], 0.5 * 255, 1);
  EXPECT_NEAR(column[2], 0.9 * 255, 1);
}

TEST_F(EffectLayer, SamplerSReadsStageZeroAndSsStageOne) {
  compile(
      "#version 330 core\nuniform sampler2D s;\nuniform sampler2D ss;\n"
      "vec4 zero(vec2 v) { return texture(s, v); }\n"
      "vec4 one(vec2 v) { return texture(ss, v); }\n"
      "technique { pass zero; pass one; }\n");
  std::string error;
  GpuTexture* red = createTexture(1, 1, &error);
  GpuTexture* green = createTexture(1, 1, &error);
  int pitch = 0;
  *lockTexture(red, &pitch, nullptr) = 0xFFFF0000u;
  unlockTexture(red);
  *lockTexture(green, &pitch, nullptr) = 0xFF00FF00u;
  unlockTexture(green);
  setTexture(0, red);
  setTexture(1, green);
  EXPECT_EQ(drawPass(0), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(drawPass(1), (std::vector<int>{0, 255, 0, 255}));
  setTexture(0, nullptr);
  setTexture(1, nullptr);
  releaseTexture(red);
  releaseTexture(green);
}

}  // namespace
