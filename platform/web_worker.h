// Blocks of floats made by a Web Worker and copied into the page's memory:
// each block travels as a transferable buffer (no memory is shared, so a
// plain static host without isolation headers serves the page).
#pragma once

#include <cstdint>
#include <string>

// The worker's side. One part of a block: `count` floats from `data`, for
// the page's destination of the same index, `offset` floats into it.
struct WorkerPart {
  const float* data;
  uint32_t count;
  uint32_t offset;
};

// Posts a copy of the parts to the page as one block, with `mark` (how far
// the work has come) and the seconds it has taken.
void postWorkerBlock(uint32_t mark, double seconds, const WorkerPart* parts, int count);

// The page's side.
using WorkerBlockArrived = void (*)(uint32_t mark, double seconds);
using WorkerStopped = void (*)(const char* reason);

// Starts the worker script `script` (beside the page). Each block it posts
// is copied, part i into destinations[i], and then `arrived` gets its mark.
// `stopped` gets the reason when the worker fails, at its start or later;
// it posts nothing after that. False, with the reason, when no worker can
// be made at all. One worker at a time.
bool startBlockWorker(const char* script, float* const* destinations, int count, WorkerBlockArrived arrived,
                      WorkerStopped stopped, std::string* error);

// Ends the worker, wherever it is; no block arrives after this.
void stopBlockWorker();
