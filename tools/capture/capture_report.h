// What a capture tells its user on the way, besides the message it ends
// with: notes (what it tidied up), where the time went and what it wrote.
// The entry point makes the report on its stream and hands it down; no
// other part of the capture writes to the user (a progress meter is given
// the report's stream).
#pragma once

#include <cstdio>
#include <string>

struct CaptureReport {
  std::FILE* stream = nullptr;
  const char* program = "";  // the prefix of notes
  int writeError = 0;        // why the first refused write failed, 0 while every line went out
};

// "PROGRAM: note" on a line of its own.
void reportNote(CaptureReport& report, const std::string& note);

// One line as it is.
void reportLine(CaptureReport& report, const std::string& line);
