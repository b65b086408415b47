#include "host/show_font.h"

#include <cstdio>
#include <cstdlib>

#include "platform/font.h"
#include "platform/message_box.h"

void installShowFont() {
  if (installFont(kShowFontFile, kShowFontFamily)) return;
  std::fprintf(stderr, "%s\n", fontInstallProblem());
  showMessageBox("Could not find or temporarily install C64 Pro - Font",
                 "Could not temporarily install Font!");
  std::exit(0);
}

void removeShowFont() { removeFont(kShowFontFile); }
