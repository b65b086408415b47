// Draws the overlay picture: "Glass Meridian" in bevelled chrome block
// letters, turned to read downwards along the right edge, in a scanline
// panel with a thin frame; pure black everywhere else.
#include "visuals/overlay_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "visuals/block_alphabet.h"

namespace {

constexpr int kWidth = kOverlayWidth;

// The logo's box, edges included.
constexpr int kLeft = 1538, kRight = 2028, kTop = 14, kBottom = 1518;
constexpr int kBoxWidth = kRight - kLeft + 1;
constexpr int kBoxHeight = kBottom - kTop + 1;

// Letter cells: the letters' tops face right, so a cell's "across" size runs
// along screen columns and its "along" size along screen rows.
constexpr float kMargin = 9.0f;
constexpr float kCellAcross = 30.0f;
constexpr float kCellAlong = (kBoxHeight - 2.0f * kMargin) / 47.0f;  // "Meridian": 8 letters of 6 cells, less one

struct Line {
  const char* text;
  float right;  // screen column just right of the letters' top
};
constexpr Line kLines[] = {
    {"Glass", kRight + 1 - kMargin},
    {"Meridian", kLeft + kMargin + 7.0f * kCellAcross},
};

struct Colour {
  float r, g, b;
};

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Where a screen pixel falls in a line of letters: the letter's block grid.
bool letterBlock(const Line& line, int column, int row, float* across) {
  const float a = (line.right - (static_cast<float>(column) + 0.5f)) / kCellAcross;
  const float b = (static_cast<float>(row) + 0.5f - (kTop + kMargin)) / kCellAlong;
  if (a < 0.0f || a >= 7.0f || b < 0.0f) return false;
  const int slot = static_cast<int>(b);
  const int letter = slot / 6, cell = slot % 6;
  int length = 0;
  while (line.text[length]) ++length;
  if (letter >= length) return false;
  *across = a / 7.0f;
  return blockAt(line.text[letter], cell, static_cast<int>(a));
}

// Box blur of radius r along rows and then columns.
std::vector<float> boxBlur(const std::vector<float>& in, int w, int h, int r) {
  std::vector<float> tmp(in.size()), out(in.size());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float sum = 0.0f;
      for (int k = -r; k <= r; ++k) sum += in[static_cast<size_t>(y * w + std::clamp(x + k, 0, w - 1))];
      tmp[static_cast<size_t>(y * w + x)] = sum / static_cast<float>(2 * r + 1);
    }
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float sum = 0.0f;
      for (int k = -r; k <= r; ++k) sum += tmp[static_cast<size_t>(std::clamp(y + k, 0, h - 1) * w + x)];
      out[static_cast<size_t>(y * w + x)] = sum / static_cast<float>(2 * r + 1);
    }
  }
  return out;
}

// The chrome of the letter faces, from the letters' top (0) to their foot (1).
Colour chrome(float t) {
  const Colour sky0{255, 252, 220}, sky1{255, 176, 64}, ground0{120, 24, 96}, ground1{255, 96, 210};
  return t < 0.5f ? mix(sky0, sky1, t / 0.5f) : mix(ground0, ground1, (t - 0.5f) / 0.5f);
}

// The scanline panel's colour for a screen row: slow copper waves.
Colour copper(int row) {
  const float y = static_cast<float>(row);
  return {70.0f + 50.0f * std::sin(y * 0.011f), 24.0f + 22.0f * std::sin(y * 0.017f + 1.3f),
          110.0f + 70.0f * std::sin(y * 0.007f + 2.1f)};
}

// The spectrum bars below the shorter first line.
bool spectrumBar(int column, int row, float* level) {
  const float firstLineEnd = kTop + kMargin + 29.0f * kCellAlong;
  const float start = firstLineEnd + 40.0f;
  const float y = static_cast<float>(row) - start;
  if (y < 0.0f || static_cast<float>(row) > kBottom - kMargin) return false;
  const int bar = static_cast<int>(y / 34.0f);
  if (std::fmod(y, 34.0f) >= 22.0f) return false;
  const float length = 40.0f + 160.0f * (0.5f + 0.5f * std::sin(static_cast<float>(bar) * 1.7f + 0.4f)) *
                                   (0.6f + 0.4f * std::cos(static_cast<float>(bar) * 0.45f));
  const float fromRight = kLines[0].right - (static_cast<float>(column) + 0.5f);
  if (fromRight < 0.0f || fromRight >= length) return false;
  *level = fromRight / 210.0f;
  return true;
}

}  // namespace

void drawOverlayPicture(unsigned char* picture) {
  std::fill(picture, picture + kOverlayBytes, static_cast<unsigned char>(0));

  // Letter coverage over the logo's box.
  std::vector<float> mask(static_cast<size_t>(kBoxWidth * kBoxHeight), 0.0f);
  std::vector<float> across(mask.size(), 0.0f);
  for (int y = 0; y < kBoxHeight; ++y) {
    for (int x = 0; x < kBoxWidth; ++x) {
      for (const Line& line : kLines) {
        float a = 0.0f;
        if (letterBlock(line, kLeft + x, kTop + y, &a)) {
          mask[static_cast<size_t>(y * kBoxWidth + x)] = 1.0f;
          across[static_cast<size_t>(y * kBoxWidth + x)] = a;
        }
      }
    }
  }
  // A smooth height field for the bevel, and the outline rings.
  const std::vector<float> height = boxBlur(mask, kBoxWidth, kBoxHeight, 4);
  const std::vector<float> halo = boxBlur(mask, kBoxWidth, kBoxHeight, 6);

  for (int y = 0; y < kBoxHeight; ++y) {
    for (int x = 0; x < kBoxWidth; ++x) {
      const size_t i = static_cast<size_t>(y * kBoxWidth + x);
      const int column = kLeft + x, row = kTop + y;
      Colour c{0, 0, 0};
      bool painted = true;
      float level = 0.0f;
      if (mask[i] > 0.0f) {
        // Light from the upper right of the screen (the letters' top left).
        const auto h = [&](int dx, int dy) {
          const int xx = std::clamp(x + dx, 0, kBoxWidth - 1), yy = std::clamp(y + dy, 0, kBoxHeight - 1);
          return height[static_cast<size_t>(yy * kBoxWidth + xx)];
        };
        const float slope = (h(1, 0) - h(-1, 0)) * 0.8f - (h(0, 1) - h(0, -1)) * 0.6f;
        const float shade = std::clamp(1.0f + 4.0f * slope, 0.45f, 1.6f);
        c = chrome(across[i]);
        c = {c.r * shade, c.g * shade, c.b * shade};
        if (shade > 1.0f) c = mix(c, Colour{255, 255, 255}, (shade - 1.0f) * 0.8f);
      } else if (halo[i] > 0.0f) {
        // Outline: a bright rim close to the letters, deep indigo further out.
        c = height[i] > 0.0f ? Colour{60, 210, 255} : Colour{18, 22, 72};
      } else if (x < 2 || x >= kBoxWidth - 2 || y < 2 || y >= kBoxHeight - 2) {
        c = mix(Colour{60, 200, 255}, Colour{255, 80, 200}, static_cast<float>(y) / kBoxHeight);
      } else if (spectrumBar(column, row, &level)) {
        c = mix(Colour{255, 210, 80}, Colour{255, 60, 140}, std::min(level, 1.0f));
      } else if (row % 4 == 0) {
        c = copper(row);
      } else {
        painted = false;
      }
      if (!painted) continue;
      unsigned char* out = &picture[(static_cast<size_t>(row) * kWidth + static_cast<size_t>(column)) * 3];
      out[0] = static_cast<unsigned char>(std::clamp(c.r, 0.0f, 255.0f));
      out[1] = static_cast<unsigned char>(std::clamp(c.g, 0.0f, 255.0f));
      out[2] = static_cast<unsigned char>(std::clamp(c.b, 1.0f, 255.0f));  // never pure black
    }
  }
}
