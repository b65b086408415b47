#include "synth/synth_constants.h"

int32_t noiseSeed = kNoiseSeedStart;
