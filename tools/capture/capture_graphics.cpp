#include "tools/capture/capture_graphics.h"

#include "host/frame_values.h"
#include "host/show_font.h"
#include "host/still_checks.h"
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

bool checkCaptureFont(std::string* error) {
  if (!installCaptureFont(error)) return false;
  removeCaptureFont();
  return true;
}

std::string captureFontPath() { return fontFilePath(kShowFontFile); }

bool checkSupersampleSize(int width, int height, int supersample, std::string* error) {
  if (width * supersample <= kLargestSide && height * supersample <= kLargestSide) return true;
  *error = "--supersample " + std::to_string(supersample) + " at " + frameSizeText(width, height) +
           " draws the scene at " + frameSizeText(width * supersample, height * supersample) + " pixels, beyond the " +
           std::to_string(kLargestSide) +
           " a side that a render target takes; give a smaller --size or --supersample";
  return false;
}

bool openCaptureGraphics(int width, int height, bool postProcess, int supersample, std::string* error) {
  if (!initHeadlessGraphics(RendererSettings{width, height, postProcess, supersample}, error)) return false;
  int drawnWidth = 0, drawnHeight = 0;
  surfaceSize(backBufferSurface(), &drawnWidth, &drawnHeight);
  if (drawnWidth != width || drawnHeight != height) {
    *error = "The graphics driver made a " + frameSizeText(drawnWidth, drawnHeight) + " back buffer instead of " +
             frameSizeText(width, height) + ".";
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
