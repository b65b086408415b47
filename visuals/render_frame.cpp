#include "visuals/render_frame.h"

#include "platform/effect.h"
#include "platform/gpu.h"
#include "visuals/frame_resources.h"
#include "visuals/overlay_texture.h"
#include "visuals/scene_samples.h"
#include "visuals/scene_effect.h"
#include "visuals/text_layer.h"

namespace {

constexpr int kScenePass = 0;
constexpr int kOverlayPass = 1;
constexpr int kBlurPass = 2;

void blurPass(GpuSurface* target, GpuTexture* source, float stepX, float stepY, float gain) {
  setRenderTarget(target);
  setTexture(0, source);
  const float xy[4] = {stepX, stepY, 0.0f, gain};
  setEffectVector(effect, "xy", xy);
  beginPass(effect, kBlurPass);
  drawQuad(quarterQuad);
  endPass(effect);
}

void drawPostProcessedFrame(const FrameInputs& frame, TextPageState& pageState) {
  beginEffect(effect);
  drawScenePass();
  drawTextLayer(frame.musicTime, frame.previousMusicTime, pageState);  // into the scene target: the text glows too
  if (supersampling()) resolveSamples(sceneSurface);
  setBlendMode(BlendMode::off);
  drawGlowBlur();
  endEffect(effect);
  addGlow();
  drawOverlay();
  setBlendMode(BlendMode::off);
  copySceneToBackBuffer();
}

void drawDirectFrame(const FrameInputs& frame, TextPageState& pageState) {
  beginEffect(effect);
  drawScenePass();
  drawTextLayer(frame.musicTime, frame.previousMusicTime, pageState);
  if (supersampling()) resolveSamples(backBuffer);
  setBlendMode(BlendMode::off);
  endEffect(effect);
}

}  // namespace

void drawScenePass() {
  const bool post = rendererSettings.postProcess;
  const bool samples = supersampling();
  setRenderTarget(samples ? sampleSurface : post ? sceneSurface : backBuffer);
  setBlendMode(BlendMode::off);
  beginPass(effect, kScenePass);
  drawQuad(samples ? sampleQuad : post ? fullQuad : directionQuad);
  endPass(effect);
}

void drawGlowBlur() {
  // Reduction with a diagonal streak: full-size texels one right and one down apart.
  blurPass(glowSurfaceA, sceneTarget, 1.0f / screenWidth, 1.0f / screenHeight, 1.0f);
  // Horizontal, then vertical, 1.05 quarter-size texels apart, gain 2.
  blurPass(glowSurfaceB, glowTargetA, 1.05f / quarterWidth, 0.0f, 2.0f);
  blurPass(glowSurfaceA, glowTargetB, 0.0f, 1.05f / quarterHeight, 2.0f);
}

void addGlow() {
  setBlendMode(BlendMode::add);
  setRenderTarget(sceneSurface);
  setTexture(0, glowTargetA);
  drawQuad(fullQuad);
}

void drawOverlay() {
  setBlendMode(BlendMode::alphaBlend);
  setRenderTarget(sceneSurface);
  setTexture(1, overlayTexture);
  beginEffect(effect);
  beginPass(effect, kOverlayPass);
  drawQuad(fullQuad);
  endPass(effect);
  endEffect(effect);
}

void copySceneToBackBuffer() {
  setBlendMode(BlendMode::off);
  setRenderTarget(backBuffer);
  setTexture(0, sceneTarget);
  drawQuad(fullQuad);
  setBlendMode(BlendMode::off);
  // The scene target is drawn into first thing next frame; it must not stay
  // bound for sampling while it is a render target.
  setTexture(0, nullptr);
}

void drawFrame(const FrameInputs& frame, TextPageState& pageState) {
  setEffectValues(frame.values);
  if (rendererSettings.postProcess) {
    drawPostProcessedFrame(frame, pageState);
  } else {
    drawDirectFrame(frame, pageState);
  }
}

void renderFrame(const FrameInputs& frame, TextPageState& pageState) {
  drawFrame(frame, pageState);
  presentFrame();
}
