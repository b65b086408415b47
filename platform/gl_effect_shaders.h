// An OpenGL effect from complete GLSL 3.30 fragment shaders, one per pass
// in pass order, rather than from an effect text: for pass programs that
// come from another shading language. Each shader reads the quad's texture
// coordinate as `in vec2 gm_texcoord` and writes colour location 0, and its
// samplers read the stages their layout(binding = n) names. Parameters are
// found and set by name, as with createEffect.
#pragma once

#include <string>
#include <vector>

#include "platform/effect.h"

Effect* createEffectFromShaders(const std::vector<std::string>& fragmentShaders, std::string* log);
