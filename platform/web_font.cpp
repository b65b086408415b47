// The installed face and its rasterisation in a web page: the file, fetched
// from beside the page and loaded as a FontFace before the program started
// (web_font.js), is checked as the other platforms check it and added to
// the page's fonts; each glyph is drawn by the browser into a canvas, whose
// coverage becomes the same glyph atlas FreeType makes.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/failure_text.h"
#include "platform/font.h"
#include "platform/font_atlas.h"
#include "platform/truetype_file.h"
#include "platform/web_page.h"

namespace {

struct WebFont {
  std::string fileName;   // "" while none is installed
  std::string family;     // as the file names it
  std::string cssFamily;  // as the page's fonts know it
  FaceMetrics metrics = {};
};

WebFont web;

// The prefetched file's bytes in memory the caller frees, with their count
// at *size; null when the page has none: *size gets the HTTP status (0: no
// answer), or -1 where the page did not fetch the file at all.
EM_JS(unsigned char*, prefetchedFile, (const char* name, int* size), {
  const file = webFont.files[UTF8ToString(name)];
  if (!file || !file.bytes) {
    HEAP32[size >> 2] = file ? file.status : -1;
    return 0;
  }
  const memory = _malloc(Math.max(file.bytes.length, 1));
  HEAPU8.set(file.bytes, memory);
  HEAP32[size >> 2] = file.bytes.length;
  return memory;
});

// Adds the file's loaded face to the page's fonts and writes its CSS family
// to `family`; false when the browser refused the file.
EM_JS(bool, addFontFace, (const char* name, char* family, int capacity), {
  const file = webFont.files[UTF8ToString(name)];
  if (!file || !file.face) return false;
  document.fonts.add(file.face);
  webFont.installed = file.face;
  stringToUTF8(file.face.family, family, capacity);
  return true;
});

EM_JS(void, removeFontFace, (), {
  if (webFont.installed) document.fonts.delete(webFont.installed);
  webFont.installed = null;
});

// Draws one character at ppemY pixels to the em, stretched to ppemX across,
// pen at a whole pixel, and finds its coverage's bounds: box gets width,
// height, left (pen to bitmap) and top (baseline up to the top row), the
// coverage goes to `out` (at most `capacity` bytes) row by row.
EM_JS(void, drawGlyph,
      (const char* family, double ppemX, double ppemY, int code, int* box, float* advance, unsigned char* out,
       int capacity),
      {
  const margin = Math.ceil(Math.max(ppemX, ppemY)) + 2;
  const width = 4 * margin, height = 4 * margin;
  const canvas = webFont.glyphCanvas || (webFont.glyphCanvas = document.createElement("canvas"));
  canvas.width = width;
  canvas.height = height;
  const context = canvas.getContext("2d", {willReadFrequently: true});
  context.clearRect(0, 0, width, height);
  context.font = ppemY + "px '" + UTF8ToString(family) + "'";
  context.textBaseline = "alphabetic";
  context.fillStyle = "#fff";
  const stretch = ppemX / ppemY;
  const penX = margin, baseline = 2 * margin;
  context.setTransform(stretch, 0, 0, 1, penX, baseline);
  const character = String.fromCharCode(code);
  context.fillText(character, 0, 0);
  HEAPF32[advance >> 2] = context.measureText(character).width * stretch;
  const pixels = context.getImageData(0, 0, width, height).data;
  let left = width, right = -1, top = height, bottom = -1;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      if (pixels[4 * (y * width + x) + 3] === 0) continue;
      left = Math.min(left, x); right = Math.max(right, x);
      top = Math.min(top, y); bottom = Math.max(bottom, y);
    }
  }
  const w = right < 0 ? 0 : right - left + 1, h = right < 0 ? 0 : bottom - top + 1;
  HEAP32[box >> 2] = w;
  HEAP32[(box >> 2) + 1] = h;
  HEAP32[(box >> 2) + 2] = right < 0 ? 0 : left - penX;
  HEAP32[(box >> 2) + 3] = right < 0 ? 0 : baseline - top;
  if (w * h > capacity) return;
  for (let y = 0; y < h; ++y)
    for (let x = 0; x < w; ++x) HEAPU8[out + y * w + x] = pixels[4 * ((top + y) * width + left + x) + 3];
});

bool refuse(std::string* error, const std::string& name, const std::string& why) {
  *error = webFailure(name, why);
  return false;
}

}  // namespace

bool installFont(const char* fileName, const char* family, std::string* error) {
  const std::string name = fileName ? fileName : "";
  const std::string wanted = family ? family : "";
  int size = 0;
  unsigned char* memory = prefetchedFile(name.c_str(), &size);
  if (!memory && size < 0) return refuse(error, name, "the page does not load it before the program starts");
  if (!memory) {
    return refuse(error, name, "the page could not fetch it from beside itself" +
                                   (size ? " (HTTP status " + std::to_string(size) + ")" : std::string()));
  }
  std::vector<unsigned char> bytes(memory, memory + size);
  std::free(memory);
  if (!checkTrueTypeBytes(bytes, name, error)) return false;
  FaceMetrics metrics = {};
  std::string why;
  if (!trueTypeFaceMetrics(bytes, metrics, &why)) return refuse(error, name, why);
  const std::string familyInFile = trueTypeFamily(bytes);
  if (familyInFile != wanted)
    return refuse(error, name, "its family is \"" + familyInFile + "\", not \"" + wanted + "\"");
  if (!web.fileName.empty()) removeFontFace();
  char cssFamily[256];
  if (!addFontFace(name.c_str(), cssFamily, sizeof cssFamily)) {
    web = WebFont{};
    return refuse(error, name, "the browser refused the font");
  }
  web = WebFont{name, wanted, cssFamily, metrics};
  return true;
}

std::string fontFilePath(const char* fileName) {
  return fileName && web.fileName == fileName ? web.fileName : std::string();
}

void removeFont(const char* fileName) {
  if (web.fileName.empty() || !fileName || web.fileName != fileName) return;
  removeFontFace();
  web = WebFont{};
}

bool rasteriseFontAtlas(const char* faceName, int32_t height, int32_t width, FontAtlas& atlas, std::string* error) {
  const std::string name = faceName ? faceName : "";
  if (web.fileName.empty() || web.family != name) {
    *error = noInstalledFontFailure(faceName);
    return false;
  }
  const AtlasScale scale = atlasScale(web.metrics, height, width);
  atlas.ascent = scale.ascent;
  atlas.descent = scale.descent;
  const int capacity = static_cast<int>(std::ceil(scale.ppemX * 4 + 8) * std::ceil(scale.ppemY * 4 + 8));
  std::vector<unsigned char> scratch(static_cast<size_t>(capacity));
  std::vector<std::vector<uint8_t>> bitmaps(kAtlasGlyphs);
  for (int g = 0; g < kAtlasGlyphs; ++g) {
    AtlasGlyph& glyph = atlas.glyphs[g];
    int box[4] = {};
    drawGlyph(web.cssFamily.c_str(), scale.ppemX, scale.ppemY, kFirstAtlasCode + g, box, &glyph.advance,
              scratch.data(), capacity);
    glyph.width = box[0];
    glyph.height = box[1];
    glyph.left = box[2];
    glyph.top = box[3];
    const size_t bytes = static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height);
    if (bytes > scratch.size())
      return refuse(error, "The font \"" + name + "\"", "the character " + std::to_string(kFirstAtlasCode + g) +
                                                           " is larger than its size allows");
    bitmaps[g].assign(scratch.begin(), scratch.begin() + static_cast<ptrdiff_t>(bytes));
  }
  packAtlasGlyphs(bitmaps, atlas);
  return true;
}
