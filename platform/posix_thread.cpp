#include <pthread.h>

#include "platform/thread.h"

namespace {

struct ThreadStart {
  uint32_t (*routine)(void*);
  void* argument;
};

void* trampoline(void* start) {
  const ThreadStart copy = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  copy.routine(copy.argument);
  return nullptr;
}

}  // namespace

bool startThread(uint32_t (*routine)(void*), void* argument) {
  auto* start = new ThreadStart{routine, argument};
  pthread_t thread;
  if (pthread_create(&thread, nullptr, trampoline, start) != 0) {
    delete start;
    return false;
  }
  pthread_detach(thread);
  return true;
}
