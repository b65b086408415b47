// The effect texts in HLSL for Direct3D 9 effects compiled at run time:
// the HLSL spelling of the shared notation and the parameters, then the
// shared prelude, the text's scene, and the one technique with its pixel
// shaders in pass order (shader model 3.0; vertices come pre-transformed).
#pragma once

#include "visuals/effect_prelude.h"
#include "visuals/effect_scene_a.h"
#include "visuals/effect_scene_b.h"
#include "visuals/effect_text_join.h"

inline constexpr char hlslEffectDialect[] = R"(// The shared notation in HLSL, whose own atan2, tex2D and fmod it uses.
#define vec2 float2
#define vec3 float3
#define vec4 float4
#define ROW_TIMES(a,M) mul(a,M)
#define PS(H) float4 H(float2 v:TEXCOORD0):COLOR

float t;       // music time * 10: every motion
float u;       // music time * 0.5: palette pair, fade in and out
float4 xy;     // blur: xy step between taps, w gain
float4 e;      // x: camera shake
float4x4 m;    // camera rotation, applied as mul(v, m)
sampler2D s : register(s0);   // stage 0: the blur's source
sampler2D ss : register(s1);  // stage 1: the overlay picture

static const float4 c[8] = {float4(.2,.1,0.,1.), float4(.2,.2,.1,1.), float4(.1,0.,.2,1.), float4(.2,0.,.1,1.),
                            float4(.1,.2,.2,1.), float4(0.,.1,.2,1.), float4(0.,.2,.1,1.), float4(.1,0.,.2,1.)};
)";

inline constexpr auto hlslEffectTextA = joinEffectText(hlslEffectDialect, effectPrelude, effectSceneA, R"(
technique {
  pass { PixelShader = compile ps_3_0 z1(); }
  pass { PixelShader = compile ps_3_0 zzz(); }
}
)");

inline constexpr auto hlslEffectTextB = joinEffectText(hlslEffectDialect, effectPrelude, effectSceneB, R"(
technique {
  pass { PixelShader = compile ps_3_0 z1(); }
  pass { PixelShader = compile ps_3_0 zzz(); }
  pass { PixelShader = compile ps_3_0 zz(); }
}
)");
