// The page's still: with the address's still=SECONDS&size=WxH (and
// path=direct), the one frame at that music time, drawn as
// glass-meridian-capture --still draws it and shown edge to edge, after
// which the page's title says "still ready".
#pragma once

#include <string>

// Draws the still that `seconds` (the address's still=) and the address's
// size and path name; a request it cannot draw gets a message on the page.
void showStill(const std::string& seconds);
