// One frame of the text layer as numbers: for each of the 200 characters its
// code, its three layer rectangles and colours. No drawing and no platform
// code, so the layout is testable on its own.
#pragma once

#include <cstdint>

#include "visuals/text_pages.h"

constexpr int kTextLayers = 3;                // shadow, highlight, face, drawn in this order
constexpr float kTextCountdownStart = 600.0f;

// The page state carried from frame to frame: the page shown (0 or 1; 0 at
// start) and its countdown (600 at start, reaching 0 after 3 units of music
// time). The text layer steps it; its owner (the show's carried state in
// host/) keeps it between frames.
struct TextPageState {
  uint8_t page = 0;
  float countdown = kTextCountdownStart;
};

// 0xAARRGGBB: four shadow colours (by row mod 4), then black and white.
extern const uint32_t textColours[6];

// A text rectangle in pixels. right and bottom are fixed small values, so
// the rectangle is normally inverted; text is centred on its mid-point.
struct TextRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct TextCharacterLayout {
  char code;                           // the character drawn (followed by nothing)
  TextRect rects[kTextLayers];         // layer 1 shadow, layer 2 highlight, layer 3 face
  uint32_t colours[kTextLayers];
};

struct TextPoint {
  float x;
  float y;
};

// ((left + right) / 2, (top + bottom) / 2): where the character is centred.
TextPoint textRectCentre(const TextRect& rect);

// Steps the page state by one character of a frame in which music time
// moved by `elapsed`: the countdown falls by elapsed, and when it reaches 0
// it starts again at 600 on the other page.
inline void stepTextPage(TextPageState& pages, float elapsed) {
  pages.countdown = pages.countdown - elapsed;
  if (pages.countdown <= 0.0f) {
    pages.countdown = kTextCountdownStart;
    pages.page = pages.page == 0 ? 1 : 0;
  }
}

// Steps the page state over one frame at music time `time`, the previous
// frame having been at `previousTime`, exactly as laying out the frame's
// characters does: one stepTextPage per character.
void stepTextPages(float time, float previousTime, TextPageState& pages);

// Lays out one frame at music time `time`, the previous frame having been at
// `previousTime`. `width` and `height` are the configured screen size,
// `widthF` and `heightF` the same as floats. `pages` is the page state
// carried from frame to frame, stepped before each character as
// stepTextPages does, so a page can change in the middle of a frame (and
// more than once in a very long one).
void layoutTextFrame(float time, float previousTime, int32_t width, int32_t height, float widthF,
                     float heightF, TextPageState& pages, TextCharacterLayout (&characters)[kTextCharacters]);

// The page state steady playback has reached at music time `time`: page
// (time / 3) mod 2 with the countdown 600 - 200 * (time mod 3). For renders
// that start in the middle of the show; time 0 gives the state at start.
TextPageState seekTextPages(float time);
