// The byte-code machine in its direct form: at every sample it walks the
// program table and the parameter table from their first byte, each unit
// loading its parameters through loadParams and working on the shared
// value stack. The render's fast path (unrolled_song.h) runs the same
// units' steps (unit_steps.h); this one is the reference it is checked
// against, and renders song data of other instruments.
#pragma once

#include <cstdint>

#include "synth/song_data.h"
#include "synth/unit_table.h"
#include "synth/voice_state.h"

extern const uint8_t* programCursor;
extern const uint8_t* paramCursor;
// The values of the latest loadParams, byte / 128 each.
extern float paramScratch[kParamScratchSize];
extern double valueStack[kValueStackSize];
extern uint32_t valueStackDepth;

// Sets the song whose delay lengths the machine's delay units read.
void useSong(const SongData& song);

// Reads `count` parameter bytes at the parameter cursor into the scratch as
// byte / 128 and advances the cursor; returns the last byte read. The raw
// bytes stay readable at paramCursor - count.
uint32_t loadParams(uint32_t count);

// Runs one program from the program cursor up to and including its 0.
void runProgram(VoiceRecord& record);

// Runs track k's program over its record for one frame, then the voice-off
// rule, then writes the track's recording column.
void stepVoice(uint32_t track, VoiceRecord& record, uint32_t sampleCounter);

// Renders the first frameCount frames of song data that passed
// validateSongData into output, and the recording, publishing the frames.
void renderFramesByteCode(const SongData& song, float* output, uint32_t frameCount);

// Runs the unit `opcode` (1..11) with workspace `ws` of `record`: it loads
// its parameters, does its step on the value stack and moves the depth by
// its stack effect.
void runUnit(uint8_t opcode, VoiceRecord& record, float* ws);
