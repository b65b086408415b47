// The show in the page: the start panel, while the song renders; after
// START the graphics and the audio, then one step of the show per animation
// frame; the song's end or Escape resets everything in place and shows the
// panel again.
#pragma once

// Starts the song's render and shows the start panel (with `autostart` in
// the address, START at once).
void openShowPanel();

// Ends whatever the page shows (panel, show or still) and resets the
// program's state, so that the page can start afresh.
void endPageShow();
