// The shipped instrument programs unrolled at compile time. The programs
// and their parameter bytes are fixed data, so the kind of every unit, the
// stack place it works at and its voice are known when the render is
// built: one sample becomes straight-line code over the decoded units,
// without a dispatch per unit. It gives the same bits as the decoded render
// (compiled_song.h) of the same tables.
#pragma once

#include "synth/compiled_song.h"
#include "synth/song_data.h"

// Whether `song` plays the shipped instruments (with any music).
bool usesShippedInstruments(const SongData& song);

// Runs one sample of the shipped programs over the units that compileSong
// made of them.
void runUnrolledSample(CompiledUnit* units);
