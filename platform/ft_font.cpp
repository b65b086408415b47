// The face installed for this process and its rasterisation, with FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_TRUETYPE_TABLES_H

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/failure_text.h"
#include "platform/font.h"
#include "platform/font_atlas.h"
#include "platform/truetype_file.h"

namespace {

struct InstalledFace {
  std::string fileName;
  std::string family;
  std::vector<unsigned char> bytes;  // FreeType reads the face from here
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

struct FreeTypeFonts {
  InstalledFace installed;  // the show installs one face; installing another replaces it
};

FreeTypeFonts state;

void release(InstalledFace& face) {
  if (face.face) FT_Done_Face(face.face);
  if (face.library) FT_Done_FreeType(face.library);
  face = InstalledFace{};
}

// Every failure of the FreeType side is worded through here: what could
// not be done and, for a failed FreeType call, its code and FreeType's
// own words for it.
bool ftFailure(std::string* error, const std::string& what, FT_Error code = 0) {
  std::string why;
  if (code != 0) {
    const char* words = FT_Error_String(code);
    why = "FreeType error " + std::to_string(code) + (words ? std::string(" (") + words + ")" : "");
  }
  *error = platformFailure(what, why);
  return false;
}

std::string executableFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  path[length] = '\0';
  char* slash = std::strrchr(path, '/');
  if (!slash) return {};
  *slash = '\0';
  return path;
}

bool everyPrintableGlyphLoads(FT_Face face) {
  for (int code = kFirstAtlasCode; code <= kLastAtlasCode; ++code) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_NO_SCALE) != 0) return false;
  }
  return true;
}

}  // namespace

bool installFont(const char* fileName, const char* family, std::string* error) {
  const std::string name = fileName ? fileName : "";
  const std::string wanted = family ? family : "";
  InstalledFace candidate;
  candidate.fileName = name;
  std::string path;
  if (!loadTrueTypeFile(name, executableFolder(), path, candidate.bytes, error)) return false;
  if (const FT_Error code = FT_Init_FreeType(&candidate.library); code != 0) {
    release(candidate);
    return ftFailure(error, "the font rasteriser cannot start", code);
  }
  if (FT_New_Memory_Face(candidate.library, candidate.bytes.data(),
                         static_cast<FT_Long>(candidate.bytes.size()), 0, &candidate.face) != 0 ||
      std::strcmp(FT_Get_Font_Format(candidate.face), "TrueType") != 0 ||
      !everyPrintableGlyphLoads(candidate.face)) {
    release(candidate);
    return ftFailure(error, path + ": not a complete TrueType font");
  }
  candidate.family = candidate.face->family_name ? candidate.face->family_name : "";
  if (candidate.family != wanted) {
    const std::string found = candidate.family;
    release(candidate);
    return ftFailure(error, path + ": holds the family \"" + found + "\", not \"" + wanted + "\"");
  }
  // Moving the vector keeps its buffer, so the face stays valid.
  release(state.installed);
  state.installed = std::move(candidate);
  return true;
}

std::string fontFilePath(const char* fileName) {
  return fileName ? locateTrueTypeFile(fileName, executableFolder()) : std::string();
}

void removeFont(const char* fileName) {
  if (state.installed.face && fileName && state.installed.fileName == fileName) release(state.installed);
}

bool rasteriseFontAtlas(const char* faceName, int32_t height, int32_t width, FontAtlas& atlas, std::string* error) {
  const InstalledFace& installed = state.installed;
  if (!installed.face || !faceName || installed.family != faceName) {
    *error = noInstalledFontFailure(faceName);
    return false;
  }
  FT_Face face = installed.face;

  // Sizes as a GDI-style font request means them: the height is the cell
  // (Windows ascent plus descent), the width the average character width.
  FaceMetrics metrics = {static_cast<double>(face->units_per_EM), static_cast<double>(face->ascender),
                         static_cast<double>(-face->descender), static_cast<double>(face->max_advance_width)};
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFFu && os2->usWinAscent + os2->usWinDescent > 0) {
    metrics.cellAscent = os2->usWinAscent;
    metrics.cellDescent = os2->usWinDescent;
    if (os2->xAvgCharWidth > 0) metrics.averageWidth = os2->xAvgCharWidth;
  }
  const AtlasScale scale = atlasScale(metrics, height, width);
  if (const FT_Error code = FT_Set_Char_Size(face, static_cast<FT_F26Dot6>(std::lround(scale.ppemX * 64.0)),
                                             static_cast<FT_F26Dot6>(std::lround(scale.ppemY * 64.0)), 72, 72);
      code != 0) {
    return ftFailure(error, std::string("the font \"") + faceName + "\" cannot be sized to " +
                                std::to_string(height) + " pixels", code);
  }
  atlas.ascent = scale.ascent;
  atlas.descent = scale.descent;

  // Render every glyph unhinted (the outlines keep their exact proportions),
  // then pack them.
  std::vector<std::vector<uint8_t>> bitmaps(kAtlasGlyphs);
  for (int g = 0; g < kAtlasGlyphs; ++g) {
    if (const FT_Error code = FT_Load_Char(face, static_cast<FT_ULong>(kFirstAtlasCode + g),
                                           FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_RENDER);
        code != 0) {
      return ftFailure(error, std::string("the font \"") + faceName + "\" cannot draw the character " +
                                  std::to_string(kFirstAtlasCode + g), code);
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    AtlasGlyph& glyph = atlas.glyphs[g];
    glyph.width = static_cast<int32_t>(bitmap.width);
    glyph.height = static_cast<int32_t>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = static_cast<float>(static_cast<double>(slot->linearHoriAdvance) / 65536.0);
    bitmaps[g].resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height));
    for (int32_t row = 0; row < glyph.height; ++row) {
      const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
      std::copy(source, source + glyph.width,
                bitmaps[g].begin() + static_cast<ptrdiff_t>(row) * glyph.width);
    }
  }

  packAtlasGlyphs(bitmaps, atlas);
  return true;
}
