#include "tools/capture/capture_graphics.h"

#include "host/frame_values.h"
#include "host/show_font.h"
#include "platform/font.h"
#include "platform/gpu.h"
#include "visuals/render_frame.h"
#include "visuals/renderer_setup.h"

bool installCaptureFont(std::string* error) {
  if (installShowFont(error)) return true;
  *error = std::string(kShowFontFailure) + ": " + *error;
  return false;
}

void removeCaptureFont() { removeShowFont(); }

std::string captureFontPath() { return fontFilePath(kShowFontFile); }

bool openCaptureGraphics(int width, int height, bool postProcess, std::string* error) {
  if (!initHeadlessGraphics(RendererSettings{width, height, postProcess}, error)) return false;
  int drawnWidth = 0, drawnHeight = 0;
  surfaceSize(backBufferSurface(), &drawnWidth, &drawnHeight);
  if (drawnWidth != width || drawnHeight != height) {
    *error = "The graphics driver made a " + std::to_string(drawnWidth) + "x" + std::to_string(drawnHeight) +
             " back buffer instead of " + std::to_string(width) + "x" + std::to_string(height) + ".";
    closeHeadlessGraphics();
    return false;
  }
  return true;
}

void drawCaptureFrame(ShowState& state, const EffectValues& values) {
  drawFrame(frameInputs(state, values), state.textPageState);
  finishGpuWork();
}

bool readCaptureFrame(uint8_t* rgba, std::string* error) {
  readSurface(backBufferSurface(), rgba);
  if (checkGpuErrors(error)) return true;
  *error = "The frame could not be drawn: " + *error;
  return false;
}

void closeCaptureGraphics() { closeHeadlessGraphics(); }

void rgbaToRgb(const uint8_t* rgba, size_t pixels, uint8_t* rgb) {
  for (size_t i = 0; i < pixels; ++i) {
    rgb[3 * i] = rgba[4 * i];
    rgb[3 * i + 1] = rgba[4 * i + 1];
    rgb[3 * i + 2] = rgba[4 * i + 2];
  }
}
