#include "host/show_font.h"

#include "platform/font.h"

bool installShowFont(std::string* error) { return installFont(kShowFontFile, kTextFace, error); }

void removeShowFont() { removeFont(kShowFontFile); }
