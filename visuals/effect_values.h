// The effect's per-frame parameters: what the frame loop hands the renderer
// to set on the effect before drawing.
#pragma once

struct Matrix4 {
  float m[4][4];  // m[row][column], row-vector convention: v' = v * M
};

struct EffectValues {
  float e[4];  // shake: only x is read by the passes
  Matrix4 m;   // camera rotation
  float t;     // musicTime * 10
  float u;     // musicTime * 0.5
};
