#pragma once

#include <cstdint>

// Starts `routine(argument)` on a thread of its own that nobody waits for
// (detached). False when no thread could be started.
bool startThread(uint32_t (*routine)(void*), void* argument);
