#include "platform/gl_program.h"

#include <cstdio>
#include <cstring>

#include "platform/failure_text.h"

namespace {

// The driver's message about a shader or program that failed, or `silent`
// when it gave none. Shaders and programs keep their logs alike, through
// their own two query functions.
template <typename Parameter, typename InfoLog>
std::string driverLog(GLuint object, Parameter parameter, InfoLog infoLog, const char* silent) {
  GLint length = 0;
  parameter(object, GL_INFO_LOG_LENGTH, &length);
  std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) infoLog(object, length, nullptr, text.data());
  text.resize(std::strlen(text.c_str()));
  return text.empty() ? silent : text;
}

const char* codeName(GLenum code) {
  switch (code) {
    case GL_INVALID_ENUM: return "invalid enum";
    case GL_INVALID_VALUE: return "invalid value";
    case GL_INVALID_OPERATION: return "invalid operation";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "invalid framebuffer operation";
    case GL_OUT_OF_MEMORY: return "out of memory";
    case GL_FRAMEBUFFER_UNDEFINED: return "undefined";
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT: return "incomplete attachment";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT: return "missing attachment";
    case GL_FRAMEBUFFER_UNSUPPORTED: return "unsupported";
    default: return "unknown";
  }
}

// glGetError's codes lie in 0x0500 to 0x0507, framebuffer statuses far above.
bool isFramebufferStatus(GLenum code) { return code >= 0x8000; }

}  // namespace

std::string glFailure(const std::string& what, GLenum code) {
  char number[16];
  std::snprintf(number, sizeof number, "0x%04X", code);
  const std::string detail = std::string(isFramebufferStatus(code) ? "framebuffer status " : "OpenGL error ") +
                             number + " (" + codeName(code) + ")";
  return what.empty() ? platformFailure(detail) : platformFailure(what, detail);
}

GLuint compileShader(GLenum stage, const char* source, std::string* error) {
  GLuint shader = glCreateShader(stage);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok == GL_TRUE) return shader;
  *error = driverLog(shader, glGetShaderiv, glGetShaderInfoLog, "the driver rejected the shader without a message");
  glDeleteShader(shader);
  return 0;
}

GLuint linkProgram(GLuint vertexShader, GLuint fragmentShader, std::string* error) {
  GLuint program = glCreateProgram();
  glAttachShader(program, vertexShader);
  glAttachShader(program, fragmentShader);
  glLinkProgram(program);
  glDetachShader(program, vertexShader);
  glDetachShader(program, fragmentShader);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok == GL_TRUE) return program;
  *error = driverLog(program, glGetProgramiv, glGetProgramInfoLog,
                   "the driver could not link the program without a message");
  glDeleteProgram(program);
  return 0;
}

GLuint buildProgram(const char* vertexSource, const char* fragmentSource, std::string* error) {
  std::string stageLog;
  const GLuint vertexShader = compileShader(GL_VERTEX_SHADER, vertexSource, &stageLog);
  if (!vertexShader) {
    *error = platformFailure("vertex shader", stageLog);
    return 0;
  }
  const GLuint fragmentShader = compileShader(GL_FRAGMENT_SHADER, fragmentSource, &stageLog);
  if (!fragmentShader) {
    glDeleteShader(vertexShader);
    *error = platformFailure("fragment shader", stageLog);
    return 0;
  }
  const GLuint program = linkProgram(vertexShader, fragmentShader, &stageLog);
  glDeleteShader(vertexShader);
  glDeleteShader(fragmentShader);
  if (!program) *error = platformFailure("link", stageLog);
  return program;
}
