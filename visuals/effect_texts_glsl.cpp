// The OpenGL build compiles the GLSL texts.
#include "visuals/effect_texts.h"

#include "visuals/glsl_effect_texts.h"

const char* const effectTextA = glslEffectTextA.data();
const char* const effectTextB = glslEffectTextB.data();
