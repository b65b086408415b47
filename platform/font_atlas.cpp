#include "platform/font_atlas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {
constexpr int32_t kLargestPixelSize = 2048;
}  // namespace

AtlasScale atlasScale(const FaceMetrics& face, int32_t height, int32_t width) {
  const double em = face.unitsPerEm;
  const double cell = face.cellAscent + face.cellDescent > 0 ? face.cellAscent + face.cellDescent : em;
  const double pixelHeight = std::clamp(height, 1, kLargestPixelSize);
  AtlasScale scale;
  scale.ppemY = pixelHeight * em / cell;
  scale.ppemX = width > 0 ? std::clamp(width, 1, kLargestPixelSize) * em / face.averageWidth : scale.ppemY;
  scale.ascent = static_cast<float>(face.cellAscent * scale.ppemY / em);
  scale.descent = static_cast<float>(face.cellDescent * scale.ppemY / em);
  return scale;
}

void packAtlasGlyphs(const std::vector<std::vector<uint8_t>>& bitmaps, FontAtlas& atlas) {
  int32_t widest = 1;
  int32_t tallest = 1;
  for (const AtlasGlyph& glyph : atlas.glyphs) {
    widest = std::max(widest, glyph.width);
    tallest = std::max(tallest, glyph.height);
  }
  constexpr int32_t kColumns = 16;
  constexpr int32_t kRows = (kAtlasGlyphs + kColumns - 1) / kColumns;
  const int32_t cellWidth = widest + 1;
  const int32_t cellHeight = tallest + 1;
  atlas.width = kColumns * cellWidth;
  atlas.height = kRows * cellHeight;
  atlas.coverage.assign(static_cast<size_t>(atlas.width) * static_cast<size_t>(atlas.height), 0);
  for (int g = 0; g < kAtlasGlyphs; ++g) {
    AtlasGlyph& glyph = atlas.glyphs[g];
    glyph.x = (g % kColumns) * cellWidth;
    glyph.y = (g / kColumns) * cellHeight;
    for (int32_t row = 0; row < glyph.height; ++row) {
      std::copy(bitmaps[g].begin() + static_cast<std::ptrdiff_t>(row) * glyph.width,
                bitmaps[g].begin() + static_cast<std::ptrdiff_t>(row + 1) * glyph.width,
                atlas.coverage.begin() + static_cast<std::ptrdiff_t>(glyph.y + row) * atlas.width + glyph.x);
    }
  }
}
