// An effect: one source text holding several pixel-shader passes and their
// parameters. The text is the shading language's source followed by a
// technique block that lists the passes in order:
//
//   technique { pass first; pass second; }
//
// where each name is a function `vec4 name(vec2 v)` of the source, v being
// the quad's texture coordinate. Parameters are set by name on every pass;
// the sampler named `s` reads stage 0, the one named `ss` stage 1.
#pragma once

#include <string>

struct Effect;

// Compiles and links one program per pass. On failure returns null and the
// driver's log (or what is wrong with the technique block) in *error.
Effect* createEffect(const char* text, std::string* error);
void releaseEffect(Effect* effect);  // tests and tools

int effectPassCount(const Effect* effect);

// Set a parameter by name; false when no pass reads a parameter of that name.
bool setEffectFloat(Effect* effect, const char* name, float value);
bool setEffectVector(Effect* effect, const char* name, const float value[4]);
// `rows` is a 4x4 matrix row after row; a row vector v is transformed as v * M.
bool setEffectMatrix(Effect* effect, const char* name, const float rows[16]);

// Begin / pass n / end, as a frame uses them. Outside a pass, quads are
// drawn as plain texture copies.
void beginEffect(Effect* effect);
void beginPass(Effect* effect, int pass);
void endPass(Effect* effect);
void endEffect(Effect* effect);
