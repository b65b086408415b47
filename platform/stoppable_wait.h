// A blocking call that a stop request (stop_signals.h) must cut short, such
// as a modal message box: the call runs on a thread of its own while the
// caller watches for a stop.
#pragma once

#include <functional>

// Runs `call` and returns once it has returned or a stop signal has come,
// whichever is first; true when it returned. After a stop the call goes on
// until the process ends. Where no thread can be started, the call runs on
// this one and is not cut short.
bool runUntilStopped(const std::function<void()>& call);
