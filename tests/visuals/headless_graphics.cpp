#include "headless_graphics.h"

#include "host/intro_config.h"
#include "platform/gpu.h"
#include "visuals/renderer_setup.h"

namespace {
IntroConfig testConfig = {};
}

std::string openHeadlessGraphics(int width, int height, bool postProcess) {
  setIntroDefaults(testConfig, 0);
  testConfig.width = width;
  testConfig.height = height;
  testConfig.windowed = 1;
  testConfig.postProcess = postProcess ? 1 : 0;
  config = &testConfig;
  std::string error;
  if (initHeadlessGraphics(&error) != RendererFailure::none) return error.empty() ? "failed without a message" : error;
  return {};
}

void closeHeadlessGraphicsForTest() { closeHeadlessGraphics(); }

std::vector<uint8_t> readPixels(GpuSurface* surface) {
  int w = 0, h = 0;
  surfaceSize(surface, &w, &h);
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  readSurface(surface, rgba.data());
  return rgba;
}

EffectValues effectValuesAt(float time, float shake) {
  resetFrameState();
  const auto position = static_cast<uint32_t>(time * 330688.0f);
  EffectValues v = beginFrame(position, 0.0f);
  resetFrameState();
  v.e[0] = shake;
  return v;
}
