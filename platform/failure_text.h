// The one voice of platform/'s failures, for every backend: what could not
// be done, then why where there is a reason, as "what: why", without a
// full stop, so that a caller can put it after its own words. The texts
// begin in lower case unless with a name (a call, a file). The backends' wording functions (glFailure, sdlFailure, ftFailure,
// failedCall) hand their system's own text to it; texts that more than one
// backend says are written here once.
#pragma once

#include <string>

std::string platformFailure(const std::string& what, const std::string& why = "");

// No face of that name is installed to draw text with (every font backend).
std::string noInstalledFontFailure(const char* faceName);
