// The setup dialog: a resolution list of the display's modes and a
// full-screen box. The list rules live here; the window itself is the
// platform's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/intro_config.h"
#include "platform/setup_window.h"

struct DisplayMode {
  int32_t width;
  int32_t height;
};

inline constexpr int kModeListSize = 4096;

// Entry j is the mode behind list entry j.
extern DisplayMode modeList[kModeListSize];
extern int modeCount;

// Fills modeList from the display's modes in their order: a mode equal in
// size to the entry just before it is skipped (only the one before; a size
// that comes back later is listed again), and the list ends at 4096 entries.
// False with the reason when the modes could not be read; the list then
// holds those read before.
bool fillModeList(std::string* error);
// The same rules over a given enumeration (index -> mode; false past the
// end, or with the reason in `error`).
bool fillModeListFrom(bool (*modeAt)(int index, DisplayMode& mode, std::string* error), std::string* error);

// "%d * %d"
std::string modeText(const DisplayMode& mode);

// The list entry selected for the record: the last entry of its size, or -1.
int selectedModeFor(const IntroConfig& record);

// START: the selected entry's size and windowed = !fullScreenTicked. With no
// selection (-1) the size of `displayNow`, the display's current mode, or,
// when that is null, the record's own width and height.
void applyStart(IntroConfig& record, int selection, bool fullScreenTicked, const DisplayMode* displayNow);

// Everything the window shows: its texts, the entries of modeList, the
// entry selected for the record and the box ticked unless it is windowed.
SetupWindowContent setupWindowContent(const IntroConfig& record);

// The dialog in two halves, for a window that answers later (a page's
// panel): publishes `config`, fills the list and returns what the window
// shows; then, after START, applies the choice to the record. `notes` gets
// what the dialog goes on without (a display whose modes cannot be read).
SetupWindowContent beginSetupDialog(IntroConfig* record, std::vector<std::string>* notes);
void applySetupChoice(IntroConfig& record, const SetupWindowChoice& choice);

// Publishes `config`, runs the dialog. 1 after START, 0 after CANCEL or
// closing the dialog, -1 when the dialog cannot be created. `notes` gets
// what it went on without, the dialog itself included (-1).
int showSetupDialog(IntroConfig* record, std::vector<std::string>* notes);
