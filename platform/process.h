#pragma once

#include <cstdint>

// Makes standard input, output and error open descriptors: one that was
// closed when the program started is opened on the null device, so that no
// file the program opens later takes its number and receives what was
// meant for the stream. A closed standard output still refuses writes (it
// is opened for reading only), so that output that cannot be written is
// reported; a closed standard error takes what is written and drops it.
// Called first in main, before anything else is opened.
void keepStandardStreamsOpen();

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
