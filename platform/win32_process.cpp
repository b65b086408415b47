#include <cstdio>

#include "platform/process.h"
#include "platform/win32_shared.h"

void exitProcess(int status) {
  std::fflush(nullptr);
  // Every other thread is ended first, so none races what runs at exit.
  ExitProcess(static_cast<UINT>(status));
}

int32_t programInstance() {
  // A 32-bit program: the module handle fits.
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(GetModuleHandleA(nullptr)));
}
