#include "visuals/renderer_setup.h"

#include "platform/effect.h"
#include "platform/window.h"
#include "visuals/frame_resources.h"
#include "visuals/scene_effect.h"

RendererFailure initRenderer(const RendererSettings& settings, std::string* error) {
  setRendererSettings(settings);
  if (settings.postProcess && !createRenderTargets(error)) return RendererFailure::resources;
  if (!compileSceneEffect(settings.postProcess, error)) return RendererFailure::effect;
  if (!createScreenResources(error)) return RendererFailure::resources;
  return RendererFailure::none;
}

void releaseRenderer() {
  releaseFrameResources();
  releaseEffect(effect);
  effect = nullptr;
}

RendererFailure initHeadlessGraphics(const RendererSettings& settings, std::string* error) {
  const WindowRequest request{"Talon/Vexa", settings.width, settings.height, false, true, false, true};
  if (!openWindow(request, error)) return RendererFailure::resources;
  const RendererFailure failure = initRenderer(settings, error);
  if (failure != RendererFailure::none) closeHeadlessGraphics();
  return failure;
}

void closeHeadlessGraphics() {
  releaseRenderer();
  closeWindow();
}
