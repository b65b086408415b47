// The compiled scene effect and the per-frame values it reads.
#pragma once

#include <string>

#include "visuals/effect_values.h"

struct Effect;

// The one effect of the show: text B with post-processing, text A without.
extern Effect* effect;

// Compiles the effect text that `postProcess` selects into `effect`. On
// failure returns false with the compiler's log in *error.
bool compileSceneEffect(bool postProcess, std::string* error);

// Sets "e", "m", "t" and "u" on the effect.
void setEffectValues(const EffectValues& values);
