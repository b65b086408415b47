// The show's one outside file: its text face, installed for this process at
// start-up and removed at the end.
#pragma once

#include <string>

#include "visuals/text_layer.h"

constexpr char kShowFontFile[] = "C64.ttf";
// What the viewer is told when the face cannot be installed: the caption
// and the text, which the reason follows.
constexpr char kShowFontFailureTitle[] = "Could not temporarily install Font!";
constexpr char kShowFontFailure[] = "Could not find or temporarily install C64 Pro - Font";

// Installs the face kTextFace from kShowFontFile (from the working directory, then
// beside the program). False with the reason in *error; nothing has to be
// removed then.
bool installShowFont(std::string* error);

// Removes the face again; part of shutdown.
void removeShowFont();
