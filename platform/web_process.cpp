// The page's program: its end and the stop requests it cannot get. A page
// has no process to end: a show that ended well returns to the start panel
// (the page loads afresh without its autostart); one that failed leaves
// its message on the page.
#include <emscripten/emscripten.h>

#include <cstdio>

#include "platform/process.h"
#include "platform/stop_signals.h"
#include "platform/web_page.h"

namespace {

EM_JS(void, returnToPanel, (), {
  const url = new URL(location.href);
  url.searchParams.delete("autostart");
  location.replace(url.href);
});

}  // namespace

void exitProcess(int status) {
  std::fflush(nullptr);
  if (status == 0) returnToPanel();
  keepPage();
}

int32_t programInstance() { return 0; }

void useStartingConsole() {}

void catchStopSignals() {}

int stopSignal() { return 0; }

int stopExitStatus() { return 128; }
