// A message on the page, over everything, with an OK button that hides it;
// the console gets "caption: text" as well.
#include <emscripten/emscripten.h>

#include <cstdio>

#include "platform/message_box.h"

namespace {

EM_JS(void, showPageMessage, (const char* text, const char* caption), {
  const box = document.getElementById("message");
  box.querySelector("h2").textContent = UTF8ToString(caption);
  box.querySelector("p").textContent = UTF8ToString(text);
  box.querySelector("button").onclick = () => { box.hidden = true; };
  document.getElementById("stage").hidden = true;
  box.hidden = false;
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
});

}  // namespace

void showMessage(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  showPageMessage(text, caption);
}
