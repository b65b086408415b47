#include "visuals/renderer_setup.h"

#include "platform/effect.h"
#include "platform/window.h"
#include "visuals/frame_resources.h"
#include "visuals/scene_effect.h"
#include "visuals/scene_samples.h"

bool createRendererTargets(const RendererSettings& settings, std::string* error) {
  setRendererSettings(settings);
  if (settings.postProcess && !createRenderTargets(error)) return false;
  return !supersampling() || createSampleTargets(error);
}

bool compileRendererEffect(std::string* error) { return compileSceneEffect(rendererSettings.postProcess, error); }

bool createRendererResources(std::string* error) { return createScreenResources(error); }

bool initRenderer(const RendererSettings& settings, std::string* error) {
  if (!createRendererTargets(settings, error)) return false;
  if (!compileRendererEffect(error)) {
    *error = std::string(kEffectFailureTitle) + ": " + *error;
    return false;
  }
  return createRendererResources(error);
}

void releaseRenderer() {
  releaseFrameResources();
  releaseEffect(effect);
  effect = nullptr;
}

bool initHeadlessGraphics(const RendererSettings& settings, std::string* error) {
  const WindowRequest request{kShowWindowTitle, settings.width, settings.height, false, true, false, true};
  if (!openWindow(request, error)) return false;
  if (initRenderer(settings, error)) return true;
  closeHeadlessGraphics();
  return false;
}

void closeHeadlessGraphics() {
  releaseRenderer();
  closeWindow();
}
