// The WebGL 2 build compiles the GLSL ES texts.
#include "visuals/effect_texts.h"

#include "visuals/glsl_es_effect_texts.h"

const char* const effectTextA = glslEsEffectTextA.data();
const char* const effectTextB = glslEsEffectTextB.data();
