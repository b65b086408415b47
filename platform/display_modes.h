// The display's modes, in the order the display reports them.
#pragma once

#include <cstdint>

// Mode number `index` of the first display; false past the last mode or
// when there is no display.
bool displayModeAt(int index, int32_t& width, int32_t& height);

// The mode the first display shows now; false when there is no display.
bool currentDisplayMode(int32_t& width, int32_t& height);
