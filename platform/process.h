#pragma once

#include <cstdint>

// Ends the process at once with `status`. Streams are flushed; no
// destructors run, so a thread still rendering cannot race them.
[[noreturn]] void exitProcess(int status);

// The program's module instance handle where the system has one, else 0.
int32_t programInstance();

// Standard output reaches the console the program was started from, also
// where the system gives a windowed program none (Windows). Output that is
// redirected, or connected already, stays where it goes.
void useStartingConsole();
