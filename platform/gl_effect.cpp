// Effects on OpenGL: the GLSL text before the technique block is shared by
// every pass; each pass becomes one program whose fragment shader is that
// text plus a main() that calls the pass's function with the quad's
// texture coordinate. Parameter values live in the effect and go to a pass
// program when the pass begins (and at once to the pass in progress).
#include "platform/effect.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/failure_text.h"
#include "platform/gl_shared.h"

namespace {

struct EffectParameter {
  std::string name;
  int floats;  // 1 (float), 4 (vec4) or 16 (mat4)
  float value[16];
  bool set;
};

struct EffectPass {
  std::string entry;
  GLuint program;
  std::vector<GLint> locations;  // one per parameter, -1 where this pass does not read it
};

}  // namespace

struct Effect {
  std::vector<EffectPass> passes;
  std::vector<EffectParameter> parameters;
  int activePass;
};

namespace {

bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

void skipSpace(const std::string& text, size_t* at) {
  while (*at < text.size() && std::isspace(static_cast<unsigned char>(text[*at]))) ++*at;
}

std::string readIdentifier(const std::string& text, size_t* at) {
  const size_t start = *at;
  while (*at < text.size() && isIdentifierChar(text[*at])) ++*at;
  return text.substr(start, *at - start);
}

// Finds the technique block (a line starting with the word `technique`),
// returns the source before it and the pass entries in order.
bool splitTechnique(const std::string& text, std::string* source, std::vector<std::string>* entries,
                    std::string* error) {
  size_t block = std::string::npos;
  for (size_t lineStart = 0; lineStart < text.size();) {
    size_t at = lineStart;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    if (text.compare(at, 9, "technique") == 0 && (at + 9 == text.size() || !isIdentifierChar(text[at + 9]))) {
      block = at;
    }
    const size_t end = text.find('\n', lineStart);
    lineStart = end == std::string::npos ? text.size() : end + 1;
  }
  if (block == std::string::npos) {
    *error = platformFailure("the effect text has no technique block");
    return false;
  }
  *source = text.substr(0, block);
  size_t at = block + 9;
  skipSpace(text, &at);
  if (at < text.size() && isIdentifierChar(text[at])) readIdentifier(text, &at);  // an optional name
  skipSpace(text, &at);
  if (at >= text.size() || text[at] != '{') {
    *error = platformFailure("the technique block does not open with '{'");
    return false;
  }
  ++at;
  for (;;) {
    skipSpace(text, &at);
    if (at < text.size() && text[at] == '}') break;
    if (readIdentifier(text, &at) != "pass") {
      *error = platformFailure("the technique block expects 'pass NAME;' or '}'");
      return false;
    }
    skipSpace(text, &at);
    const std::string entry = readIdentifier(text, &at);
    skipSpace(text, &at);
    if (entry.empty() || std::isdigit(static_cast<unsigned char>(entry[0])) || at >= text.size() ||
        text[at] != ';') {
      *error = platformFailure("the technique block has a pass without a function name and ';'");
      return false;
    }
    ++at;
    entries->push_back(entry);
  }
  if (entries->empty()) {
    *error = platformFailure("the technique block lists no pass");
    return false;
  }
  return true;
}

std::string passMain(const std::string& entry) {
  return "\nin vec2 gm_texcoord;\nlayout(location = 0) out vec4 gm_colour;\nvoid main() { gm_colour = " + entry +
         "(gm_texcoord); }\n";
}

int parameterFloats(GLenum type) {
  switch (type) {
    case GL_FLOAT: return 1;
    case GL_FLOAT_VEC4: return 4;
    case GL_FLOAT_MAT4: return 16;
    default: return 0;
  }
}

// Adds the program's float, vec4 and mat4 uniforms to the effect's parameters.
void collectParameters(Effect* effect, GLuint program) {
  GLint count = 0, longest = 0;
  glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
  glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
  std::vector<char> name(static_cast<size_t>(longest > 0 ? longest : 1) + 1, '\0');
  for (GLint i = 0; i < count; ++i) {
    GLint size = 0;
    GLenum type = 0;
    glGetActiveUniform(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()), nullptr, &size, &type,
                       name.data());
    const int floats = parameterFloats(type);
    if (floats == 0 || size != 1) continue;
    bool known = false;
    for (const EffectParameter& p : effect->parameters) known = known || p.name == name.data();
    if (!known) effect->parameters.push_back(EffectParameter{name.data(), floats, {}, false});
  }
}

void uploadParameter(const EffectParameter& p, GLint location) {
  if (location < 0 || !p.set) return;
  switch (p.floats) {
    case 1: glUniform1f(location, p.value[0]); break;
    case 4: glUniform4fv(location, 1, p.value); break;
    // Rows in, so that the shader's `v * m` is the row vector v times the matrix.
    case 16: glUniformMatrix4fv(location, 1, GL_TRUE, p.value); break;
    default: break;
  }
}

bool setParameter(Effect* effect, const char* name, const float* value, int floats) {
  if (!effect || !name) return false;
  for (size_t i = 0; i < effect->parameters.size(); ++i) {
    EffectParameter& p = effect->parameters[i];
    if (p.name != name) continue;
    if (p.floats != floats) return false;
    std::memcpy(p.value, value, sizeof(float) * static_cast<size_t>(floats));
    p.set = true;
    if (effect->activePass >= 0) uploadParameter(p, effect->passes[static_cast<size_t>(effect->activePass)].locations[i]);
    return true;
  }
  return false;
}

// One program per pass entry, in pass order, each the shared source with a
// main() that calls the entry; the samplers named `s` and `ss` read stages
// 0 and 1.
Effect* linkPassPrograms(const std::string& source, const std::vector<std::string>& entries, std::string* error) {
  GLuint vertexShader = compileShader(GL_VERTEX_SHADER, quadVertexShaderSource, error);
  if (!vertexShader) return nullptr;
  auto* effect = new Effect{{}, {}, -1};
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string passLog;
    const std::string fragmentSource = source + passMain(entries[i]);
    GLuint fragmentShader = compileShader(GL_FRAGMENT_SHADER, fragmentSource.c_str(), &passLog);
    GLuint program = fragmentShader ? linkProgram(vertexShader, fragmentShader, &passLog) : 0;
    if (fragmentShader) glDeleteShader(fragmentShader);
    if (!program) {
      *error = platformFailure("pass " + std::to_string(i) + " (" + entries[i] + ")", passLog);
      glDeleteShader(vertexShader);
      releaseEffect(effect);
      return nullptr;
    }
    glUseProgram(program);
    const GLint stage0 = glGetUniformLocation(program, "s");
    const GLint stage1 = glGetUniformLocation(program, "ss");
    if (stage0 >= 0) glUniform1i(stage0, 0);
    if (stage1 >= 0) glUniform1i(stage1, 1);
    glUseProgram(0);
    effect->passes.push_back(EffectPass{entries[i], program, {}});
    collectParameters(effect, program);
  }
  glDeleteShader(vertexShader);
  for (EffectPass& pass : effect->passes) {
    for (const EffectParameter& p : effect->parameters) {
      pass.locations.push_back(glGetUniformLocation(pass.program, p.name.c_str()));
    }
  }
  return effect;
}

}  // namespace

Effect* createEffect(const char* text, std::string* error) {
  std::string source;
  std::vector<std::string> entries;
  if (!text) {
    *error = platformFailure("there is no effect text");
    return nullptr;
  }
  if (!splitTechnique(text, &source, &entries, error)) return nullptr;
  return linkPassPrograms(source, entries, error);
}

void releaseEffect(Effect* effect) {
  if (!effect) return;
  if (effect->activePass >= 0) setPassProgram(0);
  for (EffectPass& pass : effect->passes) glDeleteProgram(pass.program);
  delete effect;
}

int effectPassCount(const Effect* effect) { return effect ? static_cast<int>(effect->passes.size()) : 0; }

bool setEffectFloat(Effect* effect, const char* name, float value) { return setParameter(effect, name, &value, 1); }

bool setEffectVector(Effect* effect, const char* name, const float value[4]) {
  return setParameter(effect, name, value, 4);
}

bool setEffectMatrix(Effect* effect, const char* name, const float rows[16]) {
  return setParameter(effect, name, rows, 16);
}

void beginEffect(Effect* effect) {
  if (effect) effect->activePass = -1;
}

void beginPass(Effect* effect, int pass) {
  if (!effect || pass < 0 || pass >= effectPassCount(effect)) return;
  const EffectPass& p = effect->passes[static_cast<size_t>(pass)];
  glUseProgram(p.program);
  for (size_t i = 0; i < effect->parameters.size(); ++i) uploadParameter(effect->parameters[i], p.locations[i]);
  effect->activePass = pass;
  setPassProgram(p.program);
}

void endPass(Effect* effect) {
  if (!effect) return;
  effect->activePass = -1;
  setPassProgram(0);
}

void endEffect(Effect* effect) {
  if (!effect) return;
  effect->activePass = -1;
  setPassProgram(0);
}
