// The page's side of a block worker: the Worker, its blocks copied into
// the page's memory, its failures.
#include <emscripten/emscripten.h>

#include "platform/web_page.h"
#include "platform/web_worker.h"

namespace {

// The reason into `reason` (capacity bytes), "" when the worker started.
EM_JS(void, makeWorker,
      (const char* script, float* const* destinations, int count, WorkerBlockArrived arrived,
       WorkerStopped stopped, char* reason, int capacity),
      {
  const state = webWorker;
  const call = (pointer, ...values) => {
    try {
      getWasmTableEntry(pointer)(...values);
    } catch (failure) {
      if (failure !== "unwind") throw failure;
    }
  };
  const fail = text => {
    if (!state.worker) return;
    state.worker.terminate();
    state.worker = null;
    const bytes = lengthBytesUTF8(text) + 1;
    const memory = _malloc(bytes);
    stringToUTF8(text, memory, bytes);
    call(stopped, memory);
    _free(memory);
  };
  state.destinations = [];
  for (let i = 0; i < count; ++i) state.destinations.push(HEAPU32[(destinations >> 2) + i]);
  let worker;
  try {
    worker = new Worker(UTF8ToString(script));
  } catch (failure) {
    stringToUTF8(String(failure), reason, capacity);
    return;
  }
  state.worker = worker;
  worker.onmessage = event => {
    if (state.worker !== worker) return;
    const block = event.data;
    block.parts.forEach((part, index) => HEAPF32.set(part.data, (state.destinations[index] >> 2) + part.offset));
    call(arrived, block.mark, block.seconds);
  };
  worker.onerror = event => {
    event.preventDefault();
    if (state.worker === worker) fail(event.message || "the worker's script could not be loaded");
  };
  worker.onmessageerror = () => { if (state.worker === worker) fail("a block could not be read"); };
  stringToUTF8("", reason, capacity);
});

EM_JS(void, endWorker, (), {
  if (webWorker.worker) webWorker.worker.terminate();
  webWorker.worker = null;
});

}  // namespace

bool startBlockWorker(const char* script, float* const* destinations, int count, WorkerBlockArrived arrived,
                      WorkerStopped stopped, std::string* error) {
  endWorker();
  char reason[256];
  makeWorker(script, destinations, count, arrived, stopped, reason, sizeof reason);
  if (reason[0] == '\0') return true;
  *error = webFailure("The page cannot start its worker " + std::string(script), reason);
  return false;
}

void stopBlockWorker() { endWorker(); }
