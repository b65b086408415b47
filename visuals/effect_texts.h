// The two effect texts in the shading language of the platform's effect
// compiler (GLSL with OpenGL, HLSL with Direct3D 9), each ending in its
// technique with the passes in order: 0 scene z1, 1 overlay copy zzz, and
// in B 2 blur zz.
#pragma once

// The direct path: scene drawn to the screen with the direction quad.
extern const char* const effectTextA;
// The post-processing path: scene into the off-screen target, glow blur.
extern const char* const effectTextB;
