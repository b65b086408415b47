#include "visuals/renderer_setup.h"

#include "host/intro_config.h"
#include "platform/effect.h"
#include "platform/window.h"
#include "visuals/frame_resources.h"
#include "visuals/scene_effect.h"

RendererFailure initRenderer(std::string* error) {
  setScreenSizes(config->width, config->height);
  if (config->postProcess && !createRenderTargets(error)) return RendererFailure::resources;
  if (!compileSceneEffect(config->postProcess != 0, error)) return RendererFailure::effect;
  if (!createScreenResources(error)) return RendererFailure::resources;
  return RendererFailure::none;
}

void releaseRenderer() {
  releaseFrameResources();
  releaseEffect(effect);
  effect = nullptr;
}

RendererFailure initHeadlessGraphics(std::string* error) {
  const WindowRequest request{"Talon/Vexa", config->width, config->height, false, true, false, true};
  if (!openWindow(request, error)) return RendererFailure::resources;
  const RendererFailure failure = initRenderer(error);
  if (failure != RendererFailure::none) closeHeadlessGraphics();
  return failure;
}

RendererFailure initHeadlessGraphics(int width, int height, bool postProcess, std::string* error) {
  static IntroConfig headlessConfig;
  setIntroDefaults(headlessConfig, 0);
  headlessConfig.width = width;
  headlessConfig.height = height;
  headlessConfig.windowed = 1;
  headlessConfig.postProcess = postProcess ? 1 : 0;
  config = &headlessConfig;
  return initHeadlessGraphics(error);
}

void closeHeadlessGraphics() {
  releaseRenderer();
  closeWindow();
}
