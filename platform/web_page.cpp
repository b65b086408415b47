// The page's address, title, notices, animation frames and console.
#include "platform/web_page.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cinttypes>
#include <cstdio>

#include "platform/byte_digest.h"
#include "platform/failure_text.h"

namespace {

using AddressChanged = void (*)();

struct WebPage {
  bool (*frame)() = nullptr;
  bool animating = false;  // an animation frame is requested
};

WebPage page;

// The parameter's value into out (capacity bytes with its zero), -1 when
// the address has no such parameter.
EM_JS(int, parameterText, (const char* name, char* out, int capacity), {
  const key = UTF8ToString(name);
  const fragment = new URLSearchParams(location.hash.slice(1));
  const value = fragment.has(key) ? fragment.get(key) : new URLSearchParams(location.search).get(key);
  if (value === null) return -1;
  stringToUTF8(value, out, capacity);
  return 0;
});

EM_JS(void, listenForAddress, (AddressChanged changed), {
  addEventListener("hashchange", () => {
    try {
      getWasmTableEntry(changed)();
    } catch (failure) {
      if (failure !== "unwind") throw failure;
    }
  });
});

EM_JS(void, setTitle, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, setNotice, (const char* text), {
  const notice = document.getElementById("notice");
  notice.textContent = UTF8ToString(text);
  notice.hidden = notice.textContent === "";
});

EM_JS(bool, canvasOffersWebGl2, (), {
  try {
    return document.createElement("canvas").getContext("webgl2") !== null;
  } catch (failure) {
    return false;
  }
});

EM_BOOL nextFrame(double, void*) {
  page.animating = page.frame && page.frame();
  return page.animating ? EM_TRUE : EM_FALSE;
}

}  // namespace

bool pageParameter(const char* name, std::string* value) {
  char text[256];
  if (parameterText(name, text, sizeof text) < 0) return false;
  *value = text;
  return true;
}

void onAddressChange(void (*changed)()) { listenForAddress(changed); }

std::string webFailure(const std::string& what, const std::string& reason) {
  return platformFailure(what, reason.empty() ? std::string("the browser gives no reason") : reason);
}

void setPageTitle(const char* title) { setTitle(title); }

void showPageNotice(const char* text) { setNotice(text); }

void startAnimationFrames(bool (*frame)()) {
  // One loop at a time: a loop that is still going takes the new callback.
  page.frame = frame;
  if (page.animating) return;
  page.animating = true;
  emscripten_request_animation_frame_loop(nextFrame, nullptr);
}

bool webGl2Available(std::string* error) {
  if (canvasOffersWebGl2()) return true;
  *error = webFailure("Glass Meridian needs WebGL 2",
                      "this browser offers none (it may be switched off, or the graphics driver refused)");
  return false;
}

void reportBlockDigest(const AudioBlock& block) {
  const uint64_t digest =
      byteDigest(block.samples, static_cast<size_t>(block.frames) * block.format.channels * sizeof(float));
  std::printf("song digest: %016" PRIx64 "\n", digest);
  std::fflush(stdout);
}
