// The cost of one frame of the show on the GPU at 640 x 360 and 1280 x 720,
// split into the scene pass, the three blur passes and the rest (glow add,
// overlay, copy); and the start-up costs of the effect and the overlay.
// Times are wall-clock with every drawing call finished (glFinish).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/frame_values.h"
#include "platform/effect.h"
#include "platform/font.h"
#include "platform/gpu.h"
#include "platform/window.h"
#include "visuals/effect_texts.h"
#include "visuals/frame_resources.h"
#include "visuals/overlay_drawing.h"
#include "visuals/overlay_texture.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"
#include "visuals/scene_effect.h"
#include "visuals/text_layer.h"

namespace {

// The show's carried state and the inputs of the frame every benchmark draws.
ShowState benchState;
FrameInputs frame;

// Opens headless graphics at the benchmark's size with the frame values of
// music time 8, and draws one frame so that the driver has built every
// shader variant before timing starts.
bool openAt(benchmark::State& state, bool postProcess) {
  std::string error;
  const RendererSettings settings = {static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
                                     postProcess};
  if (!initHeadlessGraphics(settings, &error)) {
    state.SkipWithError(error.c_str());
    return false;
  }
  benchState = ShowState{};
  frame = frameInputs(benchState, beginFrame(benchState, 8 * 330688, 0.0f));
  drawFrame(frame, benchState.textPageState);
  finishGpuWork();
  return true;
}

void sizeArguments(benchmark::internal::Benchmark* b) {
  b->Args({640, 360})->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
}

void BM_PostFrame_ScenePass(benchmark::State& state) {
  if (!openAt(state, true)) return;
  for (auto _ : state) {
    beginEffect(effect);
    drawScenePass();
    endEffect(effect);
    finishGpuWork();
  }
  closeHeadlessGraphics();
}
BENCHMARK(BM_PostFrame_ScenePass)->Apply(sizeArguments);

void BM_PostFrame_BlurPasses(benchmark::State& state) {
  if (!openAt(state, true)) return;
  for (auto _ : state) {
    beginEffect(effect);
    drawGlowBlur();
    endEffect(effect);
    finishGpuWork();
  }
  closeHeadlessGraphics();
}
BENCHMARK(BM_PostFrame_BlurPasses)->Apply(sizeArguments);

void BM_PostFrame_GlowOverlayCopy(benchmark::State& state) {
  if (!openAt(state, true)) return;
  for (auto _ : state) {
    addGlow();
    drawOverlay();
    copySceneToBackBuffer();
    finishGpuWork();
  }
  closeHeadlessGraphics();
}
BENCHMARK(BM_PostFrame_GlowOverlayCopy)->Apply(sizeArguments);

void BM_PostFrame_Whole(benchmark::State& state) {
  if (!openAt(state, true)) return;
  for (auto _ : state) {
    renderFrame(frame, benchState.textPageState);
    finishGpuWork();
  }
  closeHeadlessGraphics();
}
BENCHMARK(BM_PostFrame_Whole)->Apply(sizeArguments);

void BM_DirectFrame_Whole(benchmark::State& state) {
  if (!openAt(state, false)) return;
  for (auto _ : state) {
    renderFrame(frame, benchState.textPageState);
    finishGpuWork();
  }
  closeHeadlessGraphics();
}
BENCHMARK(BM_DirectFrame_Whole)->Apply(sizeArguments);

// Compiling and linking every pass of text A (0) or B (1); with the second
// argument 1 also drawing each pass once, which makes the driver finish
// translating it.
void BM_EffectCompile(benchmark::State& state) {
  std::string error;
  if (!openWindow(WindowRequest{"bench", 64, 64, false, true, false, true}, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const QuadVertex quad[4] = {{0, 0, 0, 1, 0, 0}, {64, 0, 0, 1, 1, 0}, {0, 64, 0, 1, 0, 1}, {64, 64, 0, 1, 1, 1}};
  for (auto _ : state) {
    Effect* fx = createEffect(state.range(0) ? effectTextB : effectTextA, &error);
    if (!fx) {
      state.SkipWithError(error.c_str());
      break;
    }
    if (state.range(1)) {
      setRenderTarget(backBufferSurface());
      for (int pass = 0; pass < effectPassCount(fx); ++pass) {
        beginPass(fx, pass);
        drawQuad(quad);
        endPass(fx);
      }
    }
    finishGpuWork();
    releaseEffect(fx);
  }
  closeWindow();
}
BENCHMARK(BM_EffectCompile)
    ->ArgNames({"textB", "firstDraw"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_OverlayUpload(benchmark::State& state) {
  std::string error;
  if (!openWindow(WindowRequest{"bench", 64, 64, false, true, false, true}, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    if (!createOverlayTexture(&error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    finishGpuWork();
    releaseTexture(overlayTexture);
    overlayTexture = nullptr;
  }
  closeWindow();
}
BENCHMARK(BM_OverlayUpload)->Unit(benchmark::kMillisecond)->UseRealTime();

// The overlay picture is drawn once at start-up, before its upload.
void BM_OverlayPictureDrawing(benchmark::State& state) {
  static unsigned char picture[kOverlayBytes];
  for (auto _ : state) {
    drawOverlayPicture(picture);
    benchmark::DoNotOptimize(picture[kOverlayBytes / 2]);
  }
}
BENCHMARK(BM_OverlayPictureDrawing)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The text layer draws in the show's face, from the source tree's copy.
  std::string error;
  if (!installFont(GM_FONT_FILE, kTextFace, &error)) {
    std::fprintf(stderr, "frame_cost_bench: %s\n", error.c_str());
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
