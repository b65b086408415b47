// The show's graphics opened off screen for an offline render: the text
// face, a hidden window of the capture's size, the renderer of the chosen
// path; one frame drawn with the show's own drawFrame and read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/show_state.h"
#include "visuals/effect_values.h"

// Installs the show's text face the way the show does (from the working
// directory, then beside the program). False with the show's message.
bool installCaptureFont(std::string* error);
void removeCaptureFont();

// Whether the face installs (--check): installed and removed again.
bool checkCaptureFont(std::string* error);

// The file installCaptureFont reads, "" when there is none.
std::string captureFontPath();

// Opens the graphics off screen with the renderer at this size and path,
// the scene and the text drawn at `supersample` x `supersample` samples a
// pixel. False with the reason, nothing left open.
bool openCaptureGraphics(int width, int height, bool postProcess, int supersample, std::string* error);

// False with a message naming the options when the scene drawn at
// `supersample` times this size would have a side beyond what a render
// target takes (kLargestSide).
bool checkSupersampleSize(int width, int height, int supersample, std::string* error);

// Draws the frame that beginFrame began on `state`, with these effect
// values, into the back buffer (the text layer steps state's page countdown
// on the way) and waits until it is drawn.
void drawCaptureFrame(ShowState& state, const EffectValues& values);

// Reads the back buffer: 4 bytes a pixel (R, G, B, A), rows top to bottom,
// width x height of the opened size. False when the driver reported an error
// since the last read.
bool readCaptureFrame(uint8_t* rgba, std::string* error);

void closeCaptureGraphics();

// Drops the alpha byte of each of `pixels` pixels.
void rgbaToRgb(const uint8_t* rgba, size_t pixels, uint8_t* rgb);
