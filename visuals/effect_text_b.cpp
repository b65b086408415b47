// Effect text B, the post-processing path: the scene, the overlay copy and
// the directional blur of the glow.
#include "visuals/effect_texts.h"

const char effectTextB[] = R"(#version 330 core
// Z(H,A): the pixel shader H, a sphere tracer through the distance field A
// with palette lighting. The body is split into one-line macros because a
// GLSL 3.30 macro cannot continue over several lines.
#define Z(H,A) vec4 H(vec2 v){ZRAY float M=0.;for(int it=0;it<1000;++it){d=A(p,M);i+=1.;p+=q*d;r+=d;if(d<.1){ZSHADE(A)}if(r>=w)break;}return vec4(0.);}
#define ZRAY vec3 q=(vec4(normalize(vec3(v.x-.5,v.y-.5,.25)),0.)*m).xyz;vec3 l=(vec4(.2,.3,1.,0.)*-m).xyz;vec3 o=vec3(0.,0.,-22.);vec3 p=o+5.*q;p.x+=5.;p.x+=e.x;p.y+=e.x;float r=3.,i=0.,j=1.,d=1.,w=clamp(6.*t,0.,60.);
#define ZNORMAL(A) float dx=A(p+vec3(.003,0.,0.),M),dy=A(p+vec3(0.,.003,0.),M),dz=A(p+vec3(0.,0.,.003),M),d0=A(p,M);vec3 n=normalize(vec3(dx-d0,dy-d0,dz-d0));
#define ZSHADE(A) ZNORMAL(A) int f=int(trunc(fmod(u+.5+M,4.)));int g=int(trunc(fmod(u+4.5+M,4.)))+4;float h=(1.-normalize(vec2(length(p-o),w)).x)*dot(n,l)*.5+.5;if(u<1.)j=u;if(u>10.5)j=1.-(u-10.5);vec3 hv=vec3(d)-p;float sp=pow(clamp(dot(n,normalize(normalize(hv)+l)),0.,1.),10.);return (c[f]*h+c[g]*(1.-h)+sp)*(1.-r/w)*smoothstep(0.,80.,i)*8.*j*(1.5-2.*length(vec2(v.x-.3,v.y-.5)));

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

// Rotations about x, then y, then z by the components of R.
vec3 y(vec3 P, vec3 R) {
  P.yz = vec2(P.y * cos(R.y) + P.z * sin(R.y), P.z * cos(R.z) - P.y * sin(R.z));
  P.xz = vec2(P.x * cos(R.x) + P.z * sin(R.x), P.z * cos(R.z) - P.x * sin(R.z));
  P.xy = vec2(P.x * cos(R.x) + P.y * sin(R.x), P.y * cos(R.y) - P.x * sin(R.y));
  return P;
}

vec2 j(vec2 P, float a) { return vec2(P.x * cos(a) - P.y * sin(a), P.x * sin(a) + P.y * cos(a)); }

// Polar fold into 2R sectors around the positive x axis.
vec2 k(vec2 P, float R) {
  vec2 A = j(P, -3.14159265 / (2. * R));
  float n = floor(-atan(A.y, A.x) / 3.14159265 * R);
  return j(P, n * 3.14159265 / R);
}

float o2(vec3 P, float R) { return length(P) - R; }
float o4(vec3 P, float R, float T) { return max(abs(P.x) - T, max(abs(P.y) + .5 * abs(P.z), abs(P.z)) - R); }
float o7(vec3 P, float R) { return (abs(P.x) + abs(P.y) + abs(P.z) - R) / 3.; }

// Two crossed thin hexagonal plates hollowed by a sphere holding an
// octahedron, folded and repeated; colAdd is 2 where the octahedron is nearest.
float d1(vec3 p, out float colAdd) {
  p = y(p, vec3(t * .5));
  p = y(p, vec3(t));
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
vec4 zz(vec2 v) {
  vec4 sum = vec4(0.);
  for (int i = -50; i <= 50; ++i) sum += texture(s, v + float(i) * xy.xy) * (.13 / (float(abs(i)) + 2.));
  return sum * xy.w;
}

vec4 zzz(vec2 v) { return texture(ss, v); }

technique {
  pass z1;
  pass zzz;
  pass zz;
}
)";
