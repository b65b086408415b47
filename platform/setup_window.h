// The modal setup window: a banner over a rule, a labelled resolution list,
// a labelled full-screen box, START and CANCEL. The window draws the texts
// it is given and has none of its own.
#pragma once

#include <string>
#include <vector>

struct SetupWindowContent {
  std::string caption;                 // title bar
  std::string banner;                  // the line across the top
  std::string rule;                    // the line under the banner
  std::string resolutionLabel;         // left of the list
  std::string fullScreenLabel;         // left of the box
  std::string startText;               // the default button
  std::string cancelText;
  std::vector<std::string> modeTexts;  // list entries, in order, unsorted
  int selected = -1;                   // entry shown selected, -1 for none
  bool fullScreenTicked = false;
};

struct SetupWindowChoice {
  int selected = -1;  // entry selected when START was pressed, -1 for none
  bool fullScreenTicked = false;
};

// Runs the window until START (Enter), CANCEL (Escape) or the close box.
// Returns 1 after START (choice filled), 0 after CANCEL or close, -1 with
// the reason in `error` when the window cannot be created (no display).
int runSetupWindow(const SetupWindowContent& content, SetupWindowChoice& choice, std::string* error);
