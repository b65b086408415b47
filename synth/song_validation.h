// Checks a set of song tables against every limit the engine relies on,
// and lays out where each unit's parameters, stack values and delay lines
// lie. The render refuses tables that fail.
#pragma once

#include <cstdint>
#include <string>

#include "synth/program_layout.h"
#include "synth/song_data.h"

// Fills `layout` and returns true when the song passes every check;
// otherwise puts one sentence naming the first violation in `error` (when
// not null).
bool analyseSong(const SongData& song, SongLayout& layout, std::string* error);

bool validateSongData(const SongData& song, std::string* error);
