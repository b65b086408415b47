// HLSL effect texts made runnable on the GL device: each pass of the
// technique compiled by glslangValidator to SPIR-V and turned back into
// GLSL 3.30 by spirv-cross, then fitted to the GL effect's conventions.
#pragma once

#include <string>
#include <vector>

struct Effect;

struct HlslPasses {
  std::vector<std::string> names;            // the technique's pixel shaders, in pass order
  std::vector<std::string> fragmentShaders;  // one GLSL 3.30 program text per pass
  std::string error;                         // empty on success
};

// The tools found when the build was configured; empty when either is missing.
std::string hlslToolsMissing();

// Strips the technique block and translates each of its passes.
HlslPasses translateHlslEffect(const char* text);

// The translated passes as one GL effect text, pass i being the technique's
// i-th: each pass's own functions, constants, input and output renamed
// apart, its main() called by the pass function, the parameters and
// samplers declared once.
std::string glslEffectTextOf(const HlslPasses& passes);

// The pass names of a GLSL effect text's technique block, in order.
std::vector<std::string> glslPassNames(const char* text);
