#include "host/show_font.h"

#include <cstdio>

#include "platform/font.h"
#include "platform/message_box.h"
#include "platform/process.h"

void installShowFont() {
  if (installFont(kShowFontFile, kShowFontFamily)) return;
  std::fprintf(stderr, "%s\n", fontInstallProblem());
  showMessage("Could not find or temporarily install C64 Pro - Font",
              "Could not temporarily install Font!");
  exitProcess(1);
}

void removeShowFont() { removeFont(kShowFontFile); }
