// The effect texts in GLSL 3.30 for the OpenGL effect: the version line, the
// GLSL spelling of the shared notation and the parameters, then the shared
// prelude, the text's scene, and the technique block naming the passes in
// order. The GLSL ES texts (glsl_es_effect_texts.h) differ in the version
// line alone.
#pragma once

#include "visuals/effect_prelude.h"
#include "visuals/effect_scene_a.h"
#include "visuals/effect_scene_b.h"
#include "visuals/effect_text_join.h"

inline constexpr char glslVersionLine[] = "#version 330 core";

inline constexpr char glslEffectDialect[] = R"(
// The shared notation in GLSL; fmod, below, keeps the dividend's sign.
#define atan2 atan
#define tex2D texture
#define ROW_TIMES(a,M) (a*M)
#define PS(H) vec4 H(vec2 v)

uniform float t;     // music time * 10: every motion
uniform float u;     // music time * 0.5: palette pair, fade in and out
uniform vec4 xy;     // blur: xy step between taps, w gain
uniform vec4 e;      // x: camera shake
uniform mat4 m;      // camera rotation, applied as v * m
uniform sampler2D s;   // stage 0: the blur's source
uniform sampler2D ss;  // stage 1: the overlay picture

const vec4 c[8] = vec4[8](vec4(.2,.1,0.,1.), vec4(.2,.2,.1,1.), vec4(.1,0.,.2,1.), vec4(.2,0.,.1,1.),
                          vec4(.1,.2,.2,1.), vec4(0.,.1,.2,1.), vec4(0.,.2,.1,1.), vec4(.1,0.,.2,1.));

// Remainder with the sign of the dividend.
float fmod(float a, float b) { return a - b * trunc(a / b); }
)";

inline constexpr char glslTechniqueA[] = R"(
technique {
  pass z1;
  pass zzz;
}
)";

inline constexpr char glslTechniqueB[] = R"(
technique {
  pass z1;
  pass zzz;
  pass zz;
}
)";

inline constexpr auto glslEffectTextA =
    joinEffectText(glslVersionLine, glslEffectDialect, effectPrelude, effectSceneA, glslTechniqueA);

inline constexpr auto glslEffectTextB =
    joinEffectText(glslVersionLine, glslEffectDialect, effectPrelude, effectSceneB, glslTechniqueB);
