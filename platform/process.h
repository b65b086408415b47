#pragma once

#include <cstdint>

// The token of the running program that its resources (the setup dialog's
// template) are found by: 0 here, where there is no such thing.
int32_t programInstance();

// Ends the process at once with `status`. Streams are flushed; no
// destructors run, so a thread still rendering cannot race them.
[[noreturn]] void exitProcess(int status);

// Standard output reaches the console the program was started from, also
// where the system gives a windowed program none (Windows). Output that is
// redirected, or connected already, stays where it goes.
void useStartingConsole();
