// Glass Meridian: takes nothing on its command line but `--version` alone,
// which prints the version and the commit and ends; any other arguments are
// ignored and the show starts.
#include <cstring>

#include "host/build_version.h"
#include "host/show.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    useStartingConsole();
    printVersion("glass-meridian");
    return 0;
  }
  return runShow(programInstance());
}
