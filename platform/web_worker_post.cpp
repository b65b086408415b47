// The worker's side of a block worker: each block goes to the page as
// copies whose buffers are handed over, not copied again.
#include <emscripten/emscripten.h>

#include "platform/web_worker.h"

namespace {

EM_JS(void, postParts, (unsigned mark, double seconds, const WorkerPart* parts, int count), {
  const list = [];
  const buffers = [];
  for (let i = 0; i < count; ++i) {
    const at = (parts >> 2) + 3 * i;
    const data = HEAPU32[at] >> 2;
    const copy = HEAPF32.slice(data, data + HEAPU32[at + 1]);
    list.push({offset: HEAPU32[at + 2], data: copy});
    buffers.push(copy.buffer);
  }
  postMessage({mark: mark, seconds: seconds, parts: list}, buffers);
});

}  // namespace

void postWorkerBlock(uint32_t mark, double seconds, const WorkerPart* parts, int count) {
  static_assert(sizeof(WorkerPart) == 12, "three 32-bit fields, as postParts reads them");
  postParts(mark, seconds, parts, count);
}
