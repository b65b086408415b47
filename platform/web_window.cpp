// The show's window in a web page: the page's canvas at the requested size,
// shown over the page, with a WebGL 2 context.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "platform/gl_shared.h"
#include "platform/web_page.h"
#include "platform/window.h"

namespace {

struct WebWindow {
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
};

WebWindow web;

// The canvas gets the back buffer's size; on screen it fills the stage
// (the whole page, or the whole screen after the panel's full-screen request)
// as large as fits at its proportions. A headless window stays hidden.
EM_JS(void, showCanvas, (int width, int height, bool visible, bool hideCursor), {
  const canvas = document.getElementById("canvas");
  canvas.width = width;
  canvas.height = height;
  canvas.style.cursor = hideCursor ? "none" : "";
  document.getElementById("stage").hidden = !visible;
});

EM_JS(void, hideCanvas, (), { document.getElementById("stage").hidden = true; });

// The browser shows the canvas when the animation frame's callback returns:
// nothing to swap.
void handToCompositor() {}

// The canvas's drawing buffer; the page's style scales it to the window.
void canvasDrawableSize(int* width, int* height) { emscripten_get_canvas_element_size("#canvas", width, height); }

}  // namespace

bool openWindow(const WindowRequest& request, std::string* error) {
  if (!checkWindowRequest(request, web.context != 0, error)) return false;
  showCanvas(request.width, request.height, !request.headless, request.hideCursor);
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = false;  // the back buffer's alpha is not the page's
  attributes.depth = false;
  attributes.stencil = false;
  attributes.antialias = false;
  attributes.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
  if (context <= 0) {
    *error = webFailure("The browser could not make a WebGL 2 context on the page (the show needs WebGL 2)",
                        "emscripten result " + std::to_string(context));
    hideCanvas();
    return false;
  }
  emscripten_webgl_make_context_current(context);
  web.context = context;
  if (!createGlDevice(GlBackBuffer{request.width, request.height, canvasDrawableSize, handToCompositor},
                      error)) {
    closeWindow();
    return false;
  }
  return true;
}

void closeWindow() {
  if (!web.context) return;
  releaseGlDevice();
  emscripten_webgl_make_context_current(0);
  emscripten_webgl_destroy_context(web.context);
  web.context = 0;
  hideCanvas();
}
