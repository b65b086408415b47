// The display's modes, in the order the display reports them.
#pragma once

#include <cstdint>
#include <string>

// Mode number `index` of the first display. False past the last mode, with
// `error` untouched; false with the reason in `error` when the display's
// modes cannot be read (no display).
bool displayModeAt(int index, int32_t& width, int32_t& height, std::string* error);

// The mode the first display shows now; false when there is no display.
bool currentDisplayMode(int32_t& width, int32_t& height);
