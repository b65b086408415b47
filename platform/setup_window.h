// The modal setup window: caption, a resolution list, a full-screen box,
// START and CANCEL. Every text it shows is handed in.
#pragma once

#include <string>
#include <vector>

struct SetupWindowContent {
  std::string caption;
  std::string banner;                  // the line at the top
  std::string rule;                    // the line under it
  std::string resolutionLabel;         // left of the list
  std::string fullScreenLabel;         // left of the box
  std::string startText;
  std::string cancelText;
  std::vector<std::string> modeTexts;  // list entries, in order, unsorted
  int selected = -1;                   // entry shown selected, -1 for none
  bool fullScreenTicked = false;
};

struct SetupWindowChoice {
  int selected = -1;  // entry selected when START was pressed, -1 for none
  bool fullScreenTicked = false;
};

// Runs the window until START (Enter), CANCEL (Escape), the close box or a
// stop signal (platform/stop_signals.h). Returns 1 after START (choice
// filled), 0 after CANCEL, close or a stop, -1 when the window cannot be
// created (no display).
int runSetupWindow(const SetupWindowContent& content, SetupWindowChoice& choice);
