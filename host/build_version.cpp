#include "host/build_version.h"

#include <cstdio>

#include "build_commit.h"

const char* buildVersion() { return GM_BUILD_VERSION " (" GM_BUILD_COMMIT ")"; }

bool printVersion(const char* program) {
  std::printf("%s %s\n", program, buildVersion());
  return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}
