// A small stroke alphabet for the capital letters the overlay logo spells:
// each letter is a few polylines on a grid 4 wide and 6 high (x to the
// right, y downwards from the letter's top), drawn with a round pen.
#pragma once

struct StrokePoint {
  float x, y;
};

inline constexpr StrokePoint kEnd = {-1, -1};

struct StrokeGlyph {
  char letter;
  // Up to three polylines, each ending with kEnd.
  StrokePoint lines[3][13];
};

inline constexpr StrokeGlyph kStrokeAlphabet[] = {
    {'A', {{{0, 6}, {0, 1.5f}, {1.5f, 0}, {2.5f, 0}, {4, 1.5f}, {4, 6}, kEnd}, {{0, 3.5f}, {4, 3.5f}, kEnd}, {kEnd}}},
    {'D', {{{0, 0}, {0, 6}, {3, 6}, {4, 5}, {4, 1}, {3, 0}, {0, 0}, kEnd}, {kEnd}, {kEnd}}},
    {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}, kEnd}, {{0, 3}, {3, 3}, kEnd}, {kEnd}}},
    {'G', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.2f}, {2.2f, 3.2f}, kEnd}, {kEnd}, {kEnd}}},
    {'I', {{{2, 0}, {2, 6}, kEnd}, {{0.8f, 0}, {3.2f, 0}, kEnd}, {{0.8f, 6}, {3.2f, 6}, kEnd}}},
    {'L', {{{0, 0}, {0, 6}, {4, 6}, kEnd}, {kEnd}, {kEnd}}},
    {'M', {{{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}, kEnd}, {kEnd}, {kEnd}}},
    {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}, kEnd}, {kEnd}, {kEnd}}},
    {'R', {{{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}, kEnd}, {{2, 3}, {4, 6}, kEnd}, {kEnd}}},
    {'S',
     {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, kEnd},
      {kEnd},
      {kEnd}}},
};

// The letter's glyph, or null for letters the alphabet lacks.
inline const StrokeGlyph* strokeGlyph(char letter) {
  for (const StrokeGlyph& glyph : kStrokeAlphabet) {
    if (glyph.letter == letter) return &glyph;
  }
  return nullptr;
}
