#include <cstdio>

#include "platform/process.h"
#include "platform/win32_shared.h"

// The C runtime gives a program started without standard streams invalid
// ones that no file opened later can take.
void keepStandardStreamsOpen() {}

void exitProcess(int status) {
  std::fflush(nullptr);
  // Every other thread is ended first, so none races what runs at exit.
  ExitProcess(static_cast<UINT>(status));
}

int32_t programInstance() {
  // A 32-bit program: the module handle fits.
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(GetModuleHandleA(nullptr)));
}

void useStartingConsole() {
  // A windowed program started from a prompt gets no standard output unless
  // the prompt redirects it; without one it writes to the prompt's console.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output != nullptr && output != INVALID_HANDLE_VALUE && GetFileType(output) != FILE_TYPE_UNKNOWN) return;
  if (AttachConsole(ATTACH_PARENT_PROCESS)) std::freopen("CONOUT$", "w", stdout);
}
