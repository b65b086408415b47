// The soundtrack and its envelope recording for an offline render, made
// before the first frame is drawn, so that every frame reads a finished
// recording row.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Makes sure SynthOutput and EnvelopeRecording hold at least the song's
// first `frames` frames (at most the whole song). Renders from the start,
// on a thread of its own with progress on `progress` (null: none), unless an earlier render
// in this process went that far already. False with the reason when the
// song data is refused, or at once after a stop signal: the render then
// goes on until the process ends.
bool renderSongThrough(uint32_t frames, std::FILE* progress, std::string* error);
