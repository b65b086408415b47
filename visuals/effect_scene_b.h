// Text B's scene and the glow's blur, in the shared notation of
// effect_prelude.h: the post-processing path, whose full quad gives v from
// 0 to 1; a wide view that the far limit opens during the first second.
#pragma once

inline constexpr char effectSceneB[] = R"(
#define VIEW vec3(v.x-.5,v.y-.5,.25)
#define START vec3 p=o+5.*q;p.x+=5.;
#define FAR clamp(6.*t,0.,60.)
#define FIELD(A,P) A(P,M)
#define FADE_OUT 10.5
#define STEPS 80.
#define GAIN 8.
#define VIGNETTE *(1.5-2.*length(vec2(v.x-.3,v.y-.5)))

// Two crossed thin hexagonal plates hollowed by a sphere holding an
// octahedron, folded and repeated; colAdd is 2 where the octahedron is nearest.
float d1(vec3 p, out float colAdd) {
  p = y(p, vec3(t * .5, t * .5, t * .5));
  p = y(p, vec3(t, t, t));
  float a = 8. + 6. * cos(.15 * t), s = 50. + 15. * sin(.05 * t + 20.2), b = s / 200.;
  p.xy = k(p.xy, a);
  p.xz = k(p.xz, a);
  p.x = fmod(clamp(p.x, -s, s) + 1000., s) - s / 2.;
  float spheres = o7(p, s / 15.);
  float product = min(max(min(o4(p.yzx, 15., b), o4(p.zxy, 12.5, b)), -o2(p, s / 5.)), spheres);
  colAdd = product == spheres ? 2. : 0.;
  return product;
}

Z(z1,d1)

// 101 taps along xy.xy, weighted 0.13 / (|i| + 2), times the gain xy.w.
PS(zz) {
  vec4 sum = vec4(0., 0., 0., 0.);
  for (int i = -50; i <= 50; ++i) sum += tex2D(s, v + float(i) * xy.xy) * (.13 / (float(abs(i)) + 2.));
  return sum * xy.w;
}
)";
