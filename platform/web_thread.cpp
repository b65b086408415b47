// A page without SharedArrayBuffer (a plain static host sends no isolation
// headers) has one thread: none can be started.
#include "platform/thread.h"

bool startThread(uint32_t (*)(void*), void*) { return false; }
