// What the SDL window and the SDL audio output share inside platform/.
// Nothing outside platform/ includes this.
#pragma once

#include <string>

// The one wording of a failed SDL call: `what` and SDL's own reason.
std::string sdlFailure(const std::string& what);
