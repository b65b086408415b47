// Sanitizer defaults for the test programs that open an OpenGL context,
// read by the sanitizer runtimes at start-up (no effect in other builds).
//
// SDL and Mesa leave allocations behind in driver modules that are unloaded
// before the process ends; LeakSanitizer can neither name nor suppress them,
// so leak checking is off (address and undefined-behaviour checks stay on).
// Mesa's software rasterizer synchronises its worker threads with primitives
// ThreadSanitizer cannot see; what it reports inside the driver is not ours.

extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

extern "C" const char* __tsan_default_suppressions() {
  return "race:swrast_dri.so\n"
         "race:libgallium\n";
}
