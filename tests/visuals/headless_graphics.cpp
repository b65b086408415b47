#include "headless_graphics.h"

#include "host/frame_values.h"
#include "platform/font.h"
#include "platform/gpu.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"
#include "visuals/text_layer.h"

namespace {

TextPageState testTextPages;

FrameInputs inputsAtStart(const EffectValues& values) { return FrameInputs{values, 0.0f, 0.0f}; }

}  // namespace

std::string openHeadlessGraphics(int width, int height, bool postProcess) {
  std::string error;
  // The renderer needs the text face, as the show installs it.
  if (!installFont("C64.ttf", kTextFace, &error)) return error;
  if (!initHeadlessGraphics(RendererSettings{width, height, postProcess}, &error))
    return error.empty() ? "failed without a message" : error;
  // These tests look at the scene, the glow and the overlay: the page of
  // text stays out of their pictures.
  releaseTextFonts();
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
  ShowState state;
  const auto position = static_cast<uint32_t>(time * 330688.0f);
  EffectValues v = beginFrame(state, position, 0.0f);
  v.e[0] = shake;
  return v;
}

void drawTestFrame(const EffectValues& values) { drawFrame(inputsAtStart(values), testTextPages); }

void renderTestFrame(const EffectValues& values) { renderFrame(inputsAtStart(values), testTextPages); }
