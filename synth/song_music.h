// The music of the song: which pattern each track plays at each order
// position, and the sixteen row values of every pattern.
#pragma once

#include <cstdint>

#include "synth/song_timing.h"

// Pattern p, row r is patternTable[16p + r]: 0 release, 1 hold, 2..127 a note.
extern const uint8_t patternTable[kPatternCount * kRowsPerPattern];
// Track k plays pattern orderTable[93k + n] at order position n.
extern const uint8_t orderTable[kTrackCount * kOrderLength];
