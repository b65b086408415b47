// The effect texts in GLSL ES 3.00 for WebGL 2: the GLSL texts
// (glsl_effect_texts.h) under the ES version line, with high precision for
// every float and int as desktop GLSL has it.
#pragma once

#include "visuals/glsl_effect_texts.h"

inline constexpr char glslEsVersionLines[] = "#version 300 es\nprecision highp float;\nprecision highp int;";

inline constexpr auto glslEsEffectTextA =
    joinEffectText(glslEsVersionLines, glslEffectDialect, effectPrelude, effectSceneA, glslTechniqueA);

inline constexpr auto glslEsEffectTextB =
    joinEffectText(glslEsVersionLines, glslEffectDialect, effectPrelude, effectSceneB, glslTechniqueB);
