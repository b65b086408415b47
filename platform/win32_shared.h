// What the Win32 window, keys, device, effect, fonts and wave output share
// inside platform/. Nothing outside platform/ includes this.
#pragma once

#include <windows.h>

#include <string>

// The one wording of a failed system call: "NAME failed" and the code with
// words for it: `words` where the caller has them (wave output's own
// texts), else the system's where it has some.
std::string failedCall(const char* call, long code, const char* words = nullptr);

// Whether this process can use a font family of that name (installed on
// the system or privately by installFont).
bool fontFamilyAvailable(const char* family);

// True once the window was asked to close (Alt-F4, WM_CLOSE) or destroyed.
bool showWindowClosing();
