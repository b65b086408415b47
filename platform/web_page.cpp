// The page's address, title and console.
#include "platform/web_page.h"

#include <emscripten/emscripten.h>

#include <cinttypes>
#include <cstdio>

#include "platform/byte_digest.h"

namespace {

// The parameter's value into out (capacity bytes with its zero), -1 when
// the address has no such parameter.
EM_JS(int, parameterText, (const char* name, char* out, int capacity), {
  const value = new URLSearchParams(location.search).get(UTF8ToString(name));
  if (value === null) return -1;
  stringToUTF8(value, out, capacity);
  return 0;
});

EM_JS(void, setTitle, (const char* title), { document.title = UTF8ToString(title); });

EM_ASYNC_JS(void, waitForever, (), { await new Promise(() => {}); });

}  // namespace

bool pageParameter(const char* name, std::string* value) {
  char text[256];
  if (parameterText(name, text, sizeof text) < 0) return false;
  *value = text;
  return true;
}

std::string webFailure(const std::string& what, const std::string& reason) {
  return what + ": " + (reason.empty() ? std::string("no reason given") : reason);
}

void setPageTitle(const char* title) { setTitle(title); }

void reportBlockDigest(const AudioBlock& block) {
  const uint64_t digest =
      byteDigest(block.samples, static_cast<size_t>(block.frames) * block.format.channels * sizeof(float));
  std::printf("song digest: %016" PRIx64 "\n", digest);
  std::fflush(stdout);
}

void keepPage() {
  std::fflush(nullptr);
  for (;;) waitForever();
}
