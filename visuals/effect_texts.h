// The two effect source texts: GLSL 330 shared by the passes, then the
// technique block naming the passes in order (0 scene z1, 1 overlay copy
// zzz, and in B 2 blur zz).
#pragma once

// The direct path: scene drawn to the screen with the direction quad.
extern const char effectTextA[];
// The post-processing path: scene into the off-screen target, glow blur.
extern const char effectTextB[];
