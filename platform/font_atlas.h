// The rasterised glyphs of one font object: coverage bitmaps of the
// printable ASCII characters packed into one picture, and their metrics.
// Shared between the FreeType side (ft_font.cpp) and the GL side (gl_text.cpp).
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

// Rasterises the installed face `faceName` at the size createFont describes.
// False with the reason in *error when no such face is installed or a
// glyph cannot be rendered.
bool rasteriseFontAtlas(const char* faceName, int32_t height, int32_t width, FontAtlas& atlas, std::string* error);
