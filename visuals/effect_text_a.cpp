// Effect text A, the direct path: the scene drawn straight to the screen.
#include "visuals/effect_texts.h"

const char effectTextA[] = R"(#version 330 core
// Z(H,A): the pixel shader H, a sphere tracer through the distance field A
// with palette lighting. The body is split into one-line macros because a
// GLSL 3.30 macro cannot continue over several lines.
#define Z(H,A) vec4 H(vec2 v){ZRAY for(int it=0;it<1000;++it){d=A(p);i+=1.;p+=q*d;r+=d;if(d<.1){ZSHADE(A)}if(r>=w)break;}return vec4(0.);}
#define ZRAY vec3 q=(vec4(normalize(vec3(v.x,v.y,1.)),0.)*m).xyz;vec3 l=(vec4(.2,.3,1.,0.)*-m).xyz;vec3 o=vec3(0.,0.,-22.);vec3 p=o+3.*q;p.x+=e.x;p.y+=e.x;float r=3.,i=0.,j=1.,d=1.,w=60.;
#define ZNORMAL(A) float dx=A(p+vec3(.003,0.,0.)),dy=A(p+vec3(0.,.003,0.)),dz=A(p+vec3(0.,0.,.003)),d0=A(p);vec3 n=normalize(vec3(dx-d0,dy-d0,dz-d0));
#define ZSHADE(A) ZNORMAL(A) int f=int(trunc(fmod(u+.5,4.)));int g=int(trunc(fmod(u+4.5,4.)))+4;float h=(1.-normalize(vec2(length(p-o),w)).x)*dot(n,l)*.5+.5;if(u<1.)j=u;if(u>11.)j=1.-(u-11.);vec3 hv=vec3(d)-p;float sp=pow(clamp(dot(n,normalize(normalize(hv)+l)),0.,1.),10.);return (c[f]*h+c[g]*(1.-h)+sp)*(1.-r/w)*smoothstep(0.,60.,i)*14.*j;

uniform float t;     // music time * 10: every motion
uniform float u;     // music time * 0.5: palette pair, fade in and out
uniform vec4 xy;     // blur step and gain (no pass of this text reads it)
uniform vec4 e;      // x: camera shake
uniform mat4 m;      // camera rotation, applied as v * m
uniform sampler2D s;   // stage 0
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

// Two crossed hexagonal plates hollowed by a sphere, folded and repeated.
float d1(vec3 p) {
  p = y(p, vec3(t * .5));
  p = y(p, vec3(t));
  float a = 8. + 6. * cos(.15 * t), s = 50. + 15. * sin(.05 * t + 20.2), b = s / 50.;
  p.xy = k(p.xy, a);
  p.xz = k(p.xz, a);
  p.x = fmod(clamp(p.x, -s, s) + 1000., s) - s / 2.;
  return max(min(o4(p.yzx, 10., b), o4(p.zxy, 10., b)), -o2(p, s / 7.5));
}

Z(z1,d1)

vec4 zzz(vec2 v) { return texture(ss, v); }

technique {
  pass z1;
  pass zzz;
}
)";
