#include "visuals/frame_resources.h"

#include "visuals/overlay_texture.h"
#include "visuals/scene_samples.h"
#include "visuals/text_layer.h"

RendererSettings rendererSettings = {};

float screenWidth = 0.0f, screenHeight = 0.0f;
float quarterWidth = 0.0f, quarterHeight = 0.0f;

GpuTexture* sceneTarget = nullptr;
GpuTexture* glowTargetA = nullptr;
GpuTexture* glowTargetB = nullptr;
GpuSurface* sceneSurface = nullptr;
GpuSurface* glowSurfaceA = nullptr;
GpuSurface* glowSurfaceB = nullptr;
GpuSurface* backBuffer = nullptr;

QuadVertex fullQuad[4] = {};
QuadVertex quarterQuad[4] = {};
QuadVertex directionQuad[4] = {};

namespace {

// Texture coordinates run from edge to edge: the device samples at pixel
// centres, so a same-size copy is exact without any offset.
void fillQuad(QuadVertex quad[4], float w, float h, float left, float top, float right, float bottom) {
  quad[0] = QuadVertex{0.0f, 0.0f, 0.0f, 1.0f, left, top};
  quad[1] = QuadVertex{w, 0.0f, 0.0f, 1.0f, right, top};
  quad[2] = QuadVertex{0.0f, h, 0.0f, 1.0f, left, bottom};
  quad[3] = QuadVertex{w, h, 0.0f, 1.0f, right, bottom};
}

}  // namespace

void setRendererSettings(const RendererSettings& settings) {
  rendererSettings = settings;
  const int32_t width = settings.width, height = settings.height;
  screenHeight = static_cast<float>(height);
  screenWidth = static_cast<float>(width);
  quarterHeight = static_cast<float>(height / 4);
  quarterWidth = static_cast<float>(width / 4);
}

bool createRenderTargets(std::string* error) {
  const int w = static_cast<int>(screenWidth), h = static_cast<int>(screenHeight);
  const int w4 = static_cast<int>(quarterWidth), h4 = static_cast<int>(quarterHeight);
  sceneTarget = createRenderTexture(w, h, error);
  if (!sceneTarget) return false;
  glowTargetA = createRenderTexture(w4, h4, error);
  if (!glowTargetA) return false;
  glowTargetB = createRenderTexture(w4, h4, error);
  if (!glowTargetB) return false;
  sceneSurface = textureSurface(sceneTarget);
  glowSurfaceA = textureSurface(glowTargetA);
  glowSurfaceB = textureSurface(glowTargetB);
  backBuffer = backBufferSurface();
  setSamplerState(0, SamplerFilter::linear, SamplerAddress::border);
  return true;
}

bool createScreenResources(std::string* error) {
  // The vertex layout is the device's own (QuadVertex); nothing to declare.
  if (rendererSettings.postProcess) {
    fillQuad(fullQuad, screenWidth, screenHeight, 0.0f, 0.0f, 1.0f, 1.0f);
    fillQuad(quarterQuad, quarterWidth, quarterHeight, 0.0f, 0.0f, 1.0f, 1.0f);
  } else {
    fillQuad(directionQuad, screenWidth, screenHeight, -1.0f, -1.0f, 1.0f, 1.0f);
    // The reduced samples are copied to the screen with the full quad.
    if (supersampling()) fillQuad(fullQuad, screenWidth, screenHeight, 0.0f, 0.0f, 1.0f, 1.0f);
  }
  backBuffer = backBufferSurface();
  if (!createTextFonts(error)) return false;
  return createOverlayTexture(error);
}

void releaseFrameResources() {
  releaseTextFonts();
  releaseSampleTargets();
  releaseTexture(overlayTexture);
  releaseTexture(glowTargetB);
  releaseTexture(glowTargetA);
  releaseTexture(sceneTarget);
  overlayTexture = sceneTarget = glowTargetA = glowTargetB = nullptr;
  sceneSurface = glowSurfaceA = glowSurfaceB = backBuffer = nullptr;
  for (int i = 0; i < 4; ++i) fullQuad[i] = quarterQuad[i] = directionQuad[i] = QuadVertex{};
}
