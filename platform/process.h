#pragma once

// Ends the process at once with `status`. Streams are flushed; no
// destructors run, so a thread still rendering cannot race them.
[[noreturn]] void exitProcess(int status);
