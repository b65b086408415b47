// The web page around the show: its address's parameters, its title, and
// the console line that names the song it made.
#pragma once

#include <string>

#include "platform/audio_output.h"

// The value of the page address's parameter `name`; false when the address
// has no such parameter ("" for one without a value).
bool pageParameter(const char* name, std::string* value);

void setPageTitle(const char* title);

// Writes "song digest: <16 hex digits>", the FNV-1a 64 digest of the
// block's bytes, as one console line.
void reportBlockDigest(const AudioBlock& block);

// The one wording of the web backend's failures: `what`, then the reason
// the browser or the page gave.
std::string webFailure(const std::string& what, const std::string& reason);

// Gives control back to the page for good: the page stays as it is.
[[noreturn]] void keepPage();
