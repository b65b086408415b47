#include "visuals/text_layout.h"

#include <cmath>

const uint32_t textColours[6] = {
    0x77FFAA44u,  // orange
    0x7755AAFFu,  // light blue
    0x7755FFAAu,  // mint green
    0x77FF55FFu,  // pink
    0xFF000000u,  // black: the face
    0xFFFFFFFFu,  // white: the highlight
};

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kFlyInAbove = 500.0f;   // countdown above this: flying in
constexpr float kFlyOutBelow = 100.0f;  // countdown below this: flying out

// Sine and cosine of a single-precision argument, evaluated in double
// precision, rounded back to single.
float sineOf(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }
float cosineOf(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }

// Truncation toward zero. Offsets stay far inside int range while time runs
// forward; the clamp only keeps a nonsensical time from overflowing.
int32_t truncated(float value) {
  constexpr float kLimit = 1.0e9f;
  if (std::isnan(value)) return 0;
  if (value >= kLimit) return static_cast<int32_t>(kLimit);
  if (value <= -kLimit) return -static_cast<int32_t>(kLimit);
  return static_cast<int32_t>(value);
}

}  // namespace

TextPoint textRectCentre(const TextRect& rect) {
  return {static_cast<float>(rect.left + rect.right) * 0.5f,
          static_cast<float>(rect.top + rect.bottom) * 0.5f};
}

void stepTextPages(float time, float previousTime, TextPageState& pages) {
  const float elapsed = time - previousTime;
  for (int i = 0; i < kTextCharacters; ++i) stepTextPage(pages, elapsed);
}

void layoutTextFrame(float time, float previousTime, int32_t width, int32_t height, float widthF,
                     float heightF, TextPageState& pages, TextCharacterLayout (&characters)[kTextCharacters]) {
  const float elapsed = time - previousTime;
  // Wobble amplitudes: all of them fractions of the width.
  const float wobbleX1 = static_cast<float>(width / 50);
  const float wobbleX2 = static_cast<float>(width / 100);
  const float wobbleY1 = static_cast<float>(width / 100);
  const float wobbleY2 = static_cast<float>(width / 200);
  const int32_t pitchX = width / 15;
  const int32_t pitchY = height / 10;
  const int32_t originX = width / 10;
  const int32_t originY = height / 2;
  const int32_t layerX = width / 300;
  const int32_t layerY = height / 300;
  const int32_t right = width / 30;
  const int32_t bottom = height / 30;

  int32_t col = 0;
  int32_t row = 0;
  for (int i = 0; i < kTextCharacters; ++i) {
    stepTextPage(pages, elapsed);
    const uint8_t page = pages.page;
    const float countdown = pages.countdown;

    TextCharacterLayout& out = characters[i];
    out.code = textPages[kTextPageStride * (page == 0 ? 0 : 1) + i];

    const float a = 12.0f * static_cast<float>(col);
    const float b = 12.0f * static_cast<float>(row);
    int32_t ox = truncated(sineOf(44.0f * time + a + b) * wobbleX1 +
                           cosineOf(23.0f * time - a - b) * wobbleX2);
    int32_t oy = truncated(sineOf(17.0f * time - a - b) * wobbleY1 +
                           cosineOf(39.0f * time + a + b) * wobbleY2);

    // Flying in at the start of a page, out at its end; strict tests, so
    // exactly 500 and exactly 100 add nothing.
    if (countdown > kFlyInAbove || countdown < kFlyOutBelow) {
      const float amplitude = countdown > kFlyInAbove
                                  ? (countdown - kFlyInAbove) / 10.0f * kPi
                                  : (kFlyOutBelow - countdown) / 10.0f * kPi;
      const float phase = 0.314f * static_cast<float>(i);
      const float aScaled = a / 150.0f;
      const float bScaled = b / 150.0f;
      ox = truncated(static_cast<float>(ox) +
                     sineOf(25.0f * time + phase - aScaled) * amplitude * widthF * 0.05f);
      oy = truncated(static_cast<float>(oy) +
                     cosineOf(25.0f * time + phase - bScaled) * amplitude * heightF * 0.05f);
    }

    const int32_t left = pitchX * col + originX + ox;
    const int32_t top = pitchY * row + originY + oy;
    out.rects[0] = {left + layerX, top + layerY, right, bottom};
    out.rects[1] = {left - layerX, top - layerY, right, bottom};
    out.rects[2] = {left, top, right, bottom};
    out.colours[0] = textColours[row % 4];
    out.colours[1] = textColours[5];
    out.colours[2] = textColours[4];

    if (++col == kTextColumns) {
      col = 0;
      ++row;
    }
  }
}

TextPageState seekTextPages(float time) {
  constexpr double kPageLength = 3.0;  // music time per page
  const double elapsed = time > 0.0f ? static_cast<double>(time) : 0.0;
  const double pages = std::floor(elapsed / kPageLength);
  TextPageState state;
  state.page = std::fmod(pages, 2.0) == 0.0 ? 0 : 1;
  state.countdown = static_cast<float>(kTextCountdownStart - 200.0 * (elapsed - pages * kPageLength));
  return state;
}
