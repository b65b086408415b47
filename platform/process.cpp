#include "platform/process.h"

#include <unistd.h>

#include <cstdio>

void exitProcess(int status) {
  std::fflush(nullptr);
  _exit(status);
}

int32_t programInstance() { return 0; }

void useStartingConsole() {}
