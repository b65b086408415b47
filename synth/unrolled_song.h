// The shipped instrument programs unrolled at compile time: the render's
// fast path. The programs and their parameter bytes are fixed data, so
// the kind of every unit, the stack place it works at, its voice and its
// parameters are known when the render is built: one sample becomes
// straight-line code over the units' steps (unit_steps.h), without a
// dispatch per unit. It gives the same bits as the byte-code machine
// (unit_machine.h) on the same tables.
#pragma once

#include "synth/song_data.h"

// Whether `song` plays the shipped instruments (with any music).
bool usesShippedInstruments(const SongData& song);

// Sets up what the units keep beside the voice records (decoded envelope
// rates, pitch caches): before a render starts.
void prepareUnrolledSong();

// Runs one sample of the shipped programs.
void runUnrolledSample();
