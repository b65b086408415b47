#include "synth/song_data.h"

#include "synth/song_instruments.h"
#include "synth/song_music.h"

SongData shippedSong() {
  return SongData{patternTable, orderTable, programTable, paramTable, delayLengthTable};
}
