// The show's one outside file: its text face, installed for this process at
// start-up and removed at the end.
#pragma once

constexpr char kShowFontFile[] = "C64.ttf";
constexpr char kShowFontFamily[] = "C64 Pro";

// Installs the face from kShowFontFile. When that fails it says so (message
// box where a display exists, stderr always, with the reason) and ends the
// process with status 1; nothing has to be removed then.
void installShowFont();

// Removes the face again; part of shutdown.
void removeShowFont();
