// Draws the overlay picture: "GLASS MERIDIAN" in upright bevelled
// capitals stacked down the right edge, each word in a column on a dark
// glass panel, the two columns with a meridian line between them and a
// wire globe under the shorter word; pure black everywhere else. Only
// +, -, *, / and sqrt: the same bytes on every platform.
#include "visuals/overlay_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "visuals/stroke_alphabet.h"

namespace {

constexpr int kWidth = kOverlayWidth;

// The logo's box, edges included.
constexpr int kLeft = 1538, kRight = 2028, kTop = 14, kBottom = 1518;
constexpr int kBoxWidth = kRight - kLeft + 1;
constexpr int kBoxHeight = kBottom - kTop + 1;

// Letters: one per slot of an eighth of the box's height ("MERIDIAN" fills
// its column). The picture is stretched to the screen, so the pen is
// measured with columns counted three quarters: strokes then look about
// equally thick both ways on a wide screen.
constexpr float kLetterWidth = 130.0f, kLetterHeight = 154.0f;
constexpr float kSlot = static_cast<float>(kBoxHeight) / 8.0f;
constexpr float kLetterInset = (kSlot - kLetterHeight) * 0.5f;
constexpr float kColumnScale = 0.75f;
constexpr float kPen = 11.5f;  // half the stroke, in rows

// Each word stands on a dark glass panel that reaches this far beside its
// letters and short of its first and last slot's ends, corners rounded.
constexpr float kPanelSide = 12.0f, kPanelEnd = 5.0f, kPanelCorner = 14.0f;

struct Colour {
  float r, g, b;
};

struct Word {
  const char* text;
  float left;  // the letters' left edge
  Colour top, middle, foot;  // the chrome's three bands
};
constexpr Word kWords[] = {
    {"GLASS", 1578.0f, {235, 255, 255}, {70, 200, 255}, {150, 110, 255}},
    {"MERIDIAN", 1858.0f, {255, 250, 215}, {255, 170, 60}, {255, 80, 190}},
};

// The meridian line between the columns, and the globe under "GLASS".
constexpr float kMeridianX = 1783.0f;
constexpr float kGlobeX = kWords[0].left + kLetterWidth * 0.5f;
constexpr float kGlobeY = kTop + 6.5f * kSlot;
constexpr float kGlobeRadiusX = 78.0f, kGlobeRadiusY = 104.0f;  // round on a wide screen

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Colour scale(Colour c, float s) { return {c.r * s, c.g * s, c.b * s}; }

int wordLength(const Word& word) {
  int length = 0;
  while (word.text[length]) ++length;
  return length;
}

// The slot's letter at a pixel: its word and where in the letter (0 to 1
// across and down) the pixel's centre falls; false outside every letter box.
bool letterBox(int column, int row, const Word** word, int* slot, float* across, float* down) {
  const float x = static_cast<float>(column) + 0.5f, y = static_cast<float>(row) + 0.5f;
  for (const Word& w : kWords) {
    const float a = (x - w.left) / kLetterWidth;
    if (a < 0.0f || a >= 1.0f) continue;
    const int s = static_cast<int>((y - kTop) / kSlot);
    if (y < kTop || s >= wordLength(w)) return false;
    const float d = (y - (kTop + static_cast<float>(s) * kSlot + kLetterInset)) / kLetterHeight;
    if (d < 0.0f || d >= 1.0f) return false;
    *word = &w;
    *slot = s;
    *across = a;
    *down = d;
    return true;
  }
  return false;
}

float segmentDistance(float px, float py, StrokePoint a, StrokePoint b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float length = dx * dx + dy * dy;
  const float t = length > 0.0f ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / length, 0.0f, 1.0f) : 0.0f;
  const float ex = px - (a.x + t * dx), ey = py - (a.y + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

bool letterAt(int column, int row, const Word** word, float* down) {
  int slot = 0;
  float across = 0.0f;
  if (!letterBox(column, row, word, &slot, &across, down)) return false;
  const StrokeGlyph* glyph = strokeGlyph((*word)->text[slot]);
  if (!glyph) return false;
  // Pen space: rows, and columns counted three quarters; the grid's outer
  // lines lie a pen's half width inside the letter box.
  const float width = kLetterWidth * kColumnScale;
  const float px = across * width, py = *down * kLetterHeight;
  const float cellX = (width - 2.0f * kPen) / 4.0f, cellY = (kLetterHeight - 2.0f * kPen) / 6.0f;
  for (const auto& line : glyph->lines) {
    for (int i = 0; line[i].x >= 0.0f && line[i + 1].x >= 0.0f; ++i) {
      const StrokePoint a{kPen + line[i].x * cellX, kPen + line[i].y * cellY};
      const StrokePoint b{kPen + line[i + 1].x * cellX, kPen + line[i + 1].y * cellY};
      if (segmentDistance(px, py, a, b) < kPen) return true;
    }
  }
  return false;
}

// Signed distance, in pixels, from a pixel centre to the edge of the
// nearer word's panel (negative inside).
float panelDistance(int column, int row) {
  const float x = static_cast<float>(column) + 0.5f, y = static_cast<float>(row) + 0.5f;
  float nearest = 1e6f;
  for (const Word& w : kWords) {
    const float halfWidth = kLetterWidth * 0.5f + kPanelSide;
    const float halfHeight = static_cast<float>(wordLength(w)) * kSlot * 0.5f - kPanelEnd;
    const float cx = w.left + kLetterWidth * 0.5f, cy = kTop + halfHeight + kPanelEnd;
    const float qx = std::abs(x - cx) - (halfWidth - kPanelCorner), qy = std::abs(y - cy) - (halfHeight - kPanelCorner);
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    const float d = std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - kPanelCorner;
    nearest = std::min(nearest, d);
  }
  return nearest;
}

// The globe's wires: its outline, two meridians each side of the middle
// one, and three parallels. Returns how close (1 on a wire, 0 off it).
float globeWire(int column, int row) {
  const float dx = (static_cast<float>(column) + 0.5f - kGlobeX) / kGlobeRadiusX;
  const float dy = (static_cast<float>(row) + 0.5f - kGlobeY) / kGlobeRadiusY;
  const float radius = std::sqrt(dx * dx + dy * dy);
  const float halfLine = 1.6f / kGlobeRadiusX;
  if (std::abs(radius - 1.0f) < halfLine) return 1.0f;
  if (radius >= 1.0f) return 0.0f;
  const float halfWidth = std::sqrt(1.0f - dy * dy);  // of the globe at this row, in radii
  for (const float k : {0.0f, 0.4f, 0.8f}) {
    if (std::abs(std::abs(dx) - k * halfWidth) < halfLine) return 0.8f;
  }
  for (const float p : {-0.5f, 0.0f, 0.5f}) {
    if (std::abs(dy - p) < 1.6f / kGlobeRadiusY) return 0.8f;
  }
  return 0.0f;
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

// The chrome of a letter face from its top (0) to its foot (1).
Colour chrome(const Word& word, float down) {
  return down < 0.5f ? mix(word.top, word.middle, down / 0.5f) : mix(word.middle, word.foot, (down - 0.5f) / 0.5f);
}

// The rim of panels and frame: cyan at the top of the box, magenta at the foot.
Colour rim(int row) {
  return mix(Colour{60, 200, 255}, Colour{255, 80, 200}, static_cast<float>(row - kTop) / kBoxHeight);
}

}  // namespace

void drawOverlayPicture(unsigned char* picture) {
  std::fill(picture, picture + kOverlayBytes, static_cast<unsigned char>(0));

  // Letter coverage over the logo's box, and a smooth height field of it
  // for the bevel.
  std::vector<float> mask(static_cast<size_t>(kBoxWidth * kBoxHeight), 0.0f);
  for (int y = 0; y < kBoxHeight; ++y) {
    for (int x = 0; x < kBoxWidth; ++x) {
      const Word* word = nullptr;
      float down = 0.0f;
      if (letterAt(kLeft + x, kTop + y, &word, &down)) mask[static_cast<size_t>(y * kBoxWidth + x)] = 1.0f;
    }
  }
  const std::vector<float> height = boxBlur(mask, kBoxWidth, kBoxHeight, 4);
  const auto heightAt = [&](int x, int y) {
    return height[static_cast<size_t>(std::clamp(y, 0, kBoxHeight - 1) * kBoxWidth + std::clamp(x, 0, kBoxWidth - 1))];
  };

  for (int y = 0; y < kBoxHeight; ++y) {
    for (int x = 0; x < kBoxWidth; ++x) {
      const int column = kLeft + x, row = kTop + y;
      const float down = static_cast<float>(y) / kBoxHeight;
      const float panel = panelDistance(column, row);
      const Word* word = nullptr;
      float letterDown = 0.0f;
      Colour c{0, 0, 0};
      bool painted = true;
      if (x < 2 || x >= kBoxWidth - 2 || y < 2 || y >= kBoxHeight - 2) {
        c = rim(row);
      } else if (letterAt(column, row, &word, &letterDown)) {
        // Light from the upper left.
        const float slope = (heightAt(x - 1, y) - heightAt(x + 1, y)) * 0.6f + (heightAt(x, y - 1) - heightAt(x, y + 1)) * 0.8f;
        const float shade = std::clamp(1.0f + 4.0f * slope, 0.45f, 1.6f);
        c = scale(chrome(*word, letterDown), std::min(shade, 1.0f));
        if (shade > 1.0f) c = mix(c, Colour{255, 255, 255}, (shade - 1.0f) * 0.8f);
      } else if (panel < 0.0f) {
        // Dark glass with a rim.
        c = panel > -2.5f ? rim(row) : mix(Colour{12, 14, 46}, Colour{36, 10, 52}, down);
      } else if (const float wire = globeWire(column, row); wire > 0.0f) {
        c = scale(mix(Colour{140, 235, 255}, Colour{255, 140, 230}, down), wire);
      } else if (std::abs(static_cast<float>(column) + 0.5f - kMeridianX) < 1.5f && y > 8 && y < kBoxHeight - 8) {
        c = scale(rim(row), 0.8f);
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
