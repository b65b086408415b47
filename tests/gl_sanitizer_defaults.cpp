// Sanitizer defaults for the test programs that open an OpenGL context,
// read by the sanitizer runtimes at start-up (no effect in other builds).
// The programs these tests start (the capture tool) are given the same
// defaults through their environment (tests/CMakeLists.txt).
//
// SDL and Mesa leave allocations behind in driver modules that are unloaded
// before the process ends; LeakSanitizer can neither name nor suppress them,
// so leak checking is off (address and undefined-behaviour checks stay on).
// Mesa's software rasterizer synchronises its worker threads with primitives
// ThreadSanitizer cannot see; what it reports inside the driver is not ours
// (gl_tsan.supp).

extern "C" const char* __asan_default_options() { return GM_GL_ASAN_OPTIONS; }

extern "C" const char* __tsan_default_options() { return GM_GL_TSAN_OPTIONS; }
