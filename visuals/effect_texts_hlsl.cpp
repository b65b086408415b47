// The Direct3D 9 build compiles the HLSL texts.
#include "visuals/effect_texts.h"

#include "visuals/hlsl_effect_texts.h"

const char* const effectTextA = hlslEffectTextA.data();
const char* const effectTextB = hlslEffectTextB.data();
