#include <SDL.h>
#include <sys/mman.h>

#include <cerrno>

#include "platform/failure_text.h"
#include "platform/sdl_shared.h"

namespace {

// SDL words a lack of memory as whatever failed for it (a missing EGL
// device, for one): a probe of the address space a software renderer's
// context takes at least tells the shortage apart.
bool memoryShort() {
  constexpr size_t kProbeBytes = size_t{256} << 20;
  void* probe = mmap(nullptr, kProbeBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (probe == MAP_FAILED) return errno == ENOMEM;
  munmap(probe, kProbeBytes);
  return false;
}

}  // namespace

std::string sdlFailure(const std::string& what) {
  const char* reason = SDL_GetError();
  const std::string said = reason && *reason ? reason : "no reason given";
  return platformFailure(what, memoryShort() ? "out of memory (SDL says: " + said + ")" : said);
}
