#include "platform/process.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

void keepStandardStreamsOpen() {
  for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
    if (fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number: the closed stream's own.
    const int opened = open("/dev/null", stream == STDERR_FILENO ? O_WRONLY : O_RDONLY);
    if (opened >= 0 && opened != stream) {
      dup2(opened, stream);
      close(opened);
    }
  }
}

void exitProcess(int status) {
  std::fflush(nullptr);
  _exit(status);
}

int32_t programInstance() { return 0; }

void useStartingConsole() {}
