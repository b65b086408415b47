// Glass Meridian: takes nothing on its command line but `--version` alone,
// which prints the version and the commit and ends; any other arguments are
// ignored and the show starts.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/build_version.h"
#include "host/show.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  keepStandardStreamsOpen();
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    useStartingConsole();
    if (printVersion("glass-meridian")) return 0;
    std::fprintf(stderr, "glass-meridian: writing the version failed: %s\n", std::strerror(errno));
    return 1;
  }
  return runShow(programInstance());
}
