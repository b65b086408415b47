// Text A's scene, in the shared notation of effect_prelude.h: the direct
// path, whose direction quad gives v from -1 to 1, a view of 90 degrees.
#pragma once

inline constexpr char effectSceneA[] = R"(
#define VIEW vec3(v.x,v.y,1.)
#define START vec3 p=o+3.*q;
#define FAR 60.
#define FIELD(A,P) A(P)
#define FADE_OUT 11.
#define STEPS 60.
#define GAIN 14.
#define VIGNETTE

// Two crossed hexagonal plates hollowed by a sphere, folded and repeated.
float d1(vec3 p) {
  p = y(p, vec3(t * .5, t * .5, t * .5));
  p = y(p, vec3(t, t, t));
  float a = 8. + 6. * cos(.15 * t), s = 50. + 15. * sin(.05 * t + 20.2), b = s / 50.;
  p.xy = k(p.xy, a);
  p.xz = k(p.xz, a);
  p.x = fmod(clamp(p.x, -s, s) + 1000., s) - s / 2.;
  return max(min(o4(p.yzx, 10., b), o4(p.zxy, 10., b)), -o2(p, s / 7.5));
}

Z(z1,d1)
)";
