// The rasterised glyphs of one font object: coverage bitmaps of the
// printable ASCII characters packed into one picture, and their metrics.
// Made by the FreeType side (ft_font.cpp) or the browser's canvas
// (web_font.cpp), drawn by the GL side (gl_text.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kFirstAtlasCode = 32;
constexpr int kLastAtlasCode = 126;
constexpr int kAtlasGlyphs = kLastAtlasCode - kFirstAtlasCode + 1;

struct AtlasGlyph {
  int32_t x;        // top-left corner of the bitmap in the atlas
  int32_t y;
  int32_t width;    // bitmap size in pixels (0 for an empty glyph)
  int32_t height;
  int32_t left;     // from the pen position to the bitmap's left edge
  int32_t top;      // from the baseline up to the bitmap's top row
  float advance;    // pen movement in pixels
};

struct FontAtlas {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;  // width * height bytes, row 0 at the top
  float ascent = 0.0f;            // baseline to the top of the line box, pixels
  float descent = 0.0f;           // baseline to its bottom, pixels, positive
  AtlasGlyph glyphs[kAtlasGlyphs] = {};
};

// A face's sizes in font units, as a GDI-style font request reads them: the
// cell (Windows ascent plus descent) and the average character width.
struct FaceMetrics {
  double unitsPerEm;
  double cellAscent;
  double cellDescent;
  double averageWidth;
};

// The rendering size for createFont's height and width: pixels per em
// across and down, and the line box's ascent and descent in pixels.
struct AtlasScale {
  double ppemX;
  double ppemY;
  float ascent;
  float descent;
};
AtlasScale atlasScale(const FaceMetrics& face, int32_t height, int32_t width);

// Packs the glyphs' coverage bitmaps (bitmaps[g] is glyphs[g].width x
// glyphs[g].height bytes, whose sizes, offsets and advances are set) into a
// grid of equal cells with a pixel of space between; fills the glyphs'
// places and the atlas's picture.
void packAtlasGlyphs(const std::vector<std::vector<uint8_t>>& bitmaps, FontAtlas& atlas);

// Rasterises the installed face `faceName` at the size createFont describes.
// False with the reason in *error when no such face is installed or a
// glyph cannot be rendered.
bool rasteriseFontAtlas(const char* faceName, int32_t height, int32_t width, FontAtlas& atlas, std::string* error);
