// What both effect texts share, written once for both shading languages:
// the sphere tracer with its palette lighting, the rotation, fold and
// primitive functions of the distance fields, and the overlay copy.
//
// The notation is GLSL's, with four names that each language's dialect
// (glsl_effect_texts.h, hlsl_effect_texts.h) spells in its own way:
//   vec2 vec3 vec4    vector types
//   atan2(y,x)        angle of (x, y)
//   tex2D(S,v)        sampler S at v
//   ROW_TIMES(a,M)    the row vector a times the matrix M
//   PS(H)             opens the pixel shader H of the texture coordinate v
// and without splatting constructors such as vec3(x), which HLSL lacks.
#pragma once

inline constexpr char effectPrelude[] = R"(
// Z(H,A): the pixel shader H, a sphere tracer through the distance field A
// with palette lighting. The text that instantiates it defines first:
//   VIEW        the ray's direction before the camera turns it
//   START       declares the start point p, off the camera point o along q
//   FAR         the far limit w
//   FIELD(A,P)  the distance A at P; a field with materials also sets M
//   FADE_OUT    the u after which the scene fades out
//   STEPS       the step count that reaches full brightness
//   GAIN        the overall gain
//   VIGNETTE    a last factor of the colour, or nothing
// The march takes at most 4 x 250 steps: a Direct3D 9 pixel shader loop
// runs 255 times at most. Each macro is one line because a GLSL 3.30 macro
// cannot continue over several lines.
#define Z(H,A) PS(H){ZRAY for(int lap=0;lap<4;++lap){for(int it=0;it<250;++it){d=FIELD(A,p);i+=1.;p+=q*d;r+=d;if(d<.1){ZSHADE(A)}if(r>=w)break;}if(r>=w)break;}return vec4(0.,0.,0.,0.);}
#define ZRAY vec3 q=ROW_TIMES(vec4(normalize(VIEW),0.),m).xyz;vec3 l=-ROW_TIMES(vec4(.2,.3,1.,0.),m).xyz;vec3 o=vec3(0.,0.,-22.);START p.x+=e.x;p.y+=e.x;float M=0.,r=3.,i=0.,j=1.,d=1.,w=FAR;
#define ZNORMAL(A) float dx=FIELD(A,p+vec3(.003,0.,0.)),dy=FIELD(A,p+vec3(0.,.003,0.)),dz=FIELD(A,p+vec3(0.,0.,.003)),d0=FIELD(A,p);vec3 n=normalize(vec3(dx-d0,dy-d0,dz-d0));
#define ZSHADE(A) ZNORMAL(A) int f=int(fmod(u+.5+M,4.));int g=int(fmod(u+4.5+M,4.))+4;float h=(1.-normalize(vec2(length(p-o),w)).x)*dot(n,l)*.5+.5;if(u<1.)j=u;if(u>FADE_OUT)j=1.-(u-FADE_OUT);float sp=pow(clamp(dot(n,normalize(normalize(d-p)+l)),0.,1.),10.);return (c[f]*h+c[g]*(1.-h)+sp)*(1.-r/w)*smoothstep(0.,STEPS,i)*GAIN*j VIGNETTE;

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
  float n = floor(-atan2(A.y, A.x) / 3.14159265 * R);
  return j(P, n * 3.14159265 / R);
}

float o2(vec3 P, float R) { return length(P) - R; }
float o4(vec3 P, float R, float T) { return max(abs(P.x) - T, max(abs(P.y) + .5 * abs(P.z), abs(P.z)) - R); }
float o7(vec3 P, float R) { return (abs(P.x) + abs(P.y) + abs(P.z) - R) / 3.; }

// The overlay copy: stage 1 as it is.
PS(zzz) { return tex2D(ss, v); }
)";
