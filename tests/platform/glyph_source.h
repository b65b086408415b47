// The font's glyph source (tools/font/glyphs.txt) read back for tests: the
// 8 x 8 grid of '#' and '.' of every character code.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using GlyphGrid = std::vector<std::string>;  // 8 rows, top first

inline std::vector<GlyphGrid> readGlyphSource(const char* path) {
  std::vector<GlyphGrid> glyphs(128);
  std::ifstream source(path);
  std::string line;
  int code = -1;
  while (std::getline(source, line)) {
    if (line.rfind("0x", 0) == 0) {
      code = static_cast<int>(std::strtol(line.c_str(), nullptr, 16));
    } else if (code >= 0 && code < 128 && line.size() == 8 &&
               line.find_first_not_of("#.") == std::string::npos) {
      glyphs[static_cast<size_t>(code)].push_back(line);
    }
  }
  return glyphs;
}

// The ink's centre of mass in cell pixels (0 to 8, y down from the top).
struct GridCentre {
  double x;
  double y;
};

inline GridCentre inkCentre(const GlyphGrid& grid) {
  double sumX = 0.0;
  double sumY = 0.0;
  int count = 0;
  for (size_t row = 0; row < grid.size(); ++row) {
    for (size_t column = 0; column < grid[row].size(); ++column) {
      if (grid[row][column] != '#') continue;
      sumX += static_cast<double>(column) + 0.5;
      sumY += static_cast<double>(row) + 0.5;
      ++count;
    }
  }
  return count ? GridCentre{sumX / count, sumY / count} : GridCentre{4.0, 4.0};
}
