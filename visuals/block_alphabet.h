// A small block alphabet, 5 cells wide and 7 high, for the letters the
// overlay logo spells. Row 0 is the top of the letter; '#' is a block.
#pragma once

struct BlockGlyph {
  char letter;
  const char* rows[7];
};

inline constexpr BlockGlyph kBlockAlphabet[] = {
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'d', {"....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
};

// True where the letter has a block at (column, row); false for letters the
// alphabet lacks (a space, for one).
inline bool blockAt(char letter, int column, int row) {
  if (column < 0 || column >= 5 || row < 0 || row >= 7) return false;
  for (const BlockGlyph& glyph : kBlockAlphabet) {
    if (glyph.letter == letter) return glyph.rows[row][column] == '#';
  }
  return false;
}
