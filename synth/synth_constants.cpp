#include "synth/synth_constants.h"

SynthConstants synthConstants = {
    kParamScale, kNoiseDivisor, kHalf, kModScale, kDcCoefficient,
    kNoiseSeedStart, kRateExponent, kTwelfth, kNoteBase, kLfoBase,
};
