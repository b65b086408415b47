#include "platform/thread.h"
#include "platform/win32_shared.h"

namespace {

struct ThreadStart {
  uint32_t (*routine)(void*);
  void* argument;
};

// CreateThread calls its routine with the system's calling convention.
DWORD WINAPI trampoline(LPVOID start) {
  const ThreadStart copy = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  return copy.routine(copy.argument);
}

}  // namespace

bool startThread(uint32_t (*routine)(void*), void* argument, std::string* error) {
  auto* start = new ThreadStart{routine, argument};
  const HANDLE thread = CreateThread(nullptr, 0, trampoline, start, 0, nullptr);
  if (!thread) {
    *error = failedCall("CreateThread", static_cast<long>(GetLastError()));
    delete start;
    return false;
  }
  CloseHandle(thread);  // it runs on; nobody waits for it
  return true;
}
