// The effect texts in GLSL ES 3.00 for WebGL 2: the GLSL texts
// (glsl_effect_texts.h) under the ES version line, with high precision for
// every float and int as desktop GLSL has it, and the texture border read
// in the shader, since WebGL 2 has no border addressing.
#pragma once

#include "visuals/glsl_effect_texts.h"

inline constexpr char glslEsVersionLines[] = "#version 300 es\nprecision highp float;\nprecision highp int;";

// The show samples stage 0 with a transparent black border, which WebGL 2
// lacks: it stretches the edge texels instead. Every read is weighted by
// the share of the filter's footprint inside the picture, which is what the
// border gives: the inside texels' weights under linear magnification,
// whether the point lies inside under point minification. The overlay (ss)
// is read inside the picture only, where nothing changes.
inline constexpr char glslEsBorderSampling[] = R"(
#undef tex2D
#define tex2D gm_borderTexture
vec4 gm_borderTexture(sampler2D x, vec2 p) {
  vec2 size = vec2(textureSize(x, 0));
  vec2 texel = p * size;
  float rho = max(length(dFdx(texel)), length(dFdy(texel)));
  vec2 inside = rho > 1.0 ? step(0.0, p) * (1.0 - step(1.0, p))
                          : clamp(texel + 0.5, 0.0, 1.0) * clamp(size - texel + 0.5, 0.0, 1.0);
  return texture(x, p) * inside.x * inside.y;
}
)";

inline constexpr auto glslEsEffectTextA = joinEffectText(glslEsVersionLines, glslEffectDialect, glslEsBorderSampling,
                                                         effectPrelude, effectSceneA, glslTechniqueA);

inline constexpr auto glslEsEffectTextB = joinEffectText(glslEsVersionLines, glslEffectDialect, glslEsBorderSampling,
                                                         effectPrelude, effectSceneB, glslTechniqueB);
