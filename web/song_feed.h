// The song's render for a show in the page: in the song's worker, whose
// blocks are published as they arrive, or, where no worker can start or it
// stops, in slices from the frame loop. The song digest line comes once the
// song is complete.
#pragma once

// The worker's script, beside the page.
constexpr char kSongWorkerScript[] = "glass-meridian-synth.js";

// Starts the render from the song's first frame; where the worker cannot
// start, the frame loop renders (one console line says why).
void startSongFeed();

// Writes the song digest line once the song is complete (once a show).
void reportSongWhenComplete();

// Ends the worker, wherever it is.
void stopSongFeed();
