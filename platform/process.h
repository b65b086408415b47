#pragma once

#include <cstdint>

// Ends the process at once with `status`. Streams are flushed; no
// destructors run, so a thread still rendering cannot race them.
[[noreturn]] void exitProcess(int status);

// The program's module instance handle where the system has one, else 0.
int32_t programInstance();
