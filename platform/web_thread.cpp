// A page without SharedArrayBuffer (a plain static host sends no isolation
// headers) has one thread: none can be started.
#include "platform/failure_text.h"
#include "platform/thread.h"

bool startThread(uint32_t (*)(void*), void*, std::string* error) {
  *error = platformFailure("could not start a thread", "a page without cross-origin isolation has only one");
  return false;
}
