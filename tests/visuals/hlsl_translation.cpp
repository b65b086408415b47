#include "hlsl_translation.h"

#include <stdlib.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

const std::string kGlslang = GM_GLSLANG_VALIDATOR;
const std::string kSpirvCross = GM_SPIRV_CROSS;

// A fresh folder under /tmp for the tools' files, removed with everything in it.
class ToolFolder {
 public:
  ToolFolder() {
    char pattern[] = "/tmp/gm-hlsl-XXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
  }
  ~ToolFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ToolFolder(const ToolFolder&) = delete;
  ToolFolder& operator=(const ToolFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string readFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Where the technique block starts: the last line whose first word is
// `technique`, as the effect compilers find it.
size_t techniqueStart(const std::string& text) {
  static const std::regex line(R"((^|\n)[ \t]*technique\b)");
  size_t start = std::string::npos;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it) {
    start = static_cast<size_t>(it->position()) + it->str(1).size();
  }
  return start;
}

std::vector<std::string> matches(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
    found.push_back(it->str(1));
  }
  return found;
}

// Each `spvWorkaroundRowMajor(M) * operand` as `(operand * M)`.
std::string rowMajorProducts(std::string glsl) {
  static const std::regex product(R"(spvWorkaroundRowMajor\((\w+)\) \* )");
  std::smatch found;
  std::string done;
  while (std::regex_search(glsl, found, product)) {
    const std::string rest = found.suffix().str();
    size_t end = 0;
    while (end < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[end])) || rest[end] == '_')) ++end;
    if (end < rest.size() && rest[end] == '(') {
      for (int depth = 0; end < rest.size(); ++end) {
        depth += rest[end] == '(' ? 1 : rest[end] == ')' ? -1 : 0;
        if (depth == 0) break;
      }
      ++end;
    }
    done += found.prefix().str() + "(" + rest.substr(0, end) + " * " + found.str(1) + ")";
    glsl = rest.substr(end);
  }
  return done + glsl;
}

// spirv-cross keeps the HLSL globals as one struct uniform; the GL effect
// sets parameters by their own names, so each member becomes a uniform of
// its own.
//
// The struct's matrix is row-major in SPIR-V: Direct3D keeps a float4x4
// parameter column by column in its registers, and mul(v, m) is one dot
// product of v with each column. The GL effect uploads the matrix row after
// row, so the row-major product `m * v` is `v * m` on what it uploads, the
// same dot products in the same order; any other read of the matrix takes
// its transpose.
std::string fitToGlEffect(std::string glsl) {
  static const std::regex globals(R"(struct _Global\s*\{([^}]*)\};\s*)");
  static const std::regex instance(R"(uniform _Global (\w+);)");
  static const std::regex member(R"(\s*(\w+ \w+);)");
  std::smatch block, use;
  if (std::regex_search(glsl, block, globals)) {
    std::string uniforms;
    for (const std::string& declaration : matches(block.str(1), member)) uniforms += "uniform " + declaration + ";\n";
    glsl = block.prefix().str() + block.suffix().str();
    if (std::regex_search(glsl, use, instance)) {
      const std::string name = use.str(1);
      glsl = use.prefix().str() + uniforms + use.suffix().str();
      glsl = std::regex_replace(glsl, std::regex("\\b" + name + "\\."), "");
    }
  }
  return std::regex_replace(rowMajorProducts(glsl),
                            std::regex(R"((spvWorkaroundRowMajor\(mat4 wrap\) \{ return )wrap;)"),
                            "$1transpose(wrap);");
}

bool run(const std::string& command, const std::string& logPath, std::string* error) {
  if (std::system((command + " >>" + logPath + " 2>&1").c_str()) == 0) return true;
  *error = command + " failed:\n" + readFile(logPath);
  return false;
}

}  // namespace

std::string hlslToolsMissing() {
  if (kGlslang.empty()) return "glslangValidator";
  if (kSpirvCross.empty()) return "spirv-cross";
  return {};
}

HlslPasses translateHlslEffect(const char* text) {
  HlslPasses passes;
  const std::string effect = text;
  const size_t technique = techniqueStart(effect);
  if (technique == std::string::npos) {
    passes.error = "the HLSL text has no technique block";
    return passes;
  }
  passes.names = matches(effect.substr(technique), std::regex(R"(compile\s+\w+\s+(\w+)\s*\()"));

  ToolFolder folder;
  const std::string& dir = folder.path();
  std::ofstream(dir + "/effect.hlsl") << effect.substr(0, technique);
  for (const std::string& name : passes.names) {
    const std::string spv = dir + "/" + name + ".spv", glsl = dir + "/" + name + ".glsl", log = dir + "/" + name + ".log";
    // -Od keeps the text's arithmetic as written: the optimiser would turn
    // divisions by constants into products with rounded reciprocals, which
    // the march's fine folds amplify into a few percent of other pixels.
    if (!run(kGlslang + " -Od -D --hlsl-dx9-compatible -S frag -e " + name + " -V -o " + spv + " " + dir + "/effect.hlsl",
             log, &passes.error) ||
        !run(kSpirvCross + " --version 330 --no-es --glsl-emit-ubo-as-plain-uniforms" +
                 " --rename-interface-variable in 0 gm_texcoord " + spv + " --output " + glsl,
             log, &passes.error)) {
      return passes;
    }
    passes.fragmentShaders.push_back(fitToGlEffect(readFile(glsl)));
  }
  return passes;
}

std::vector<std::string> glslPassNames(const char* text) {
  const std::string effect = text;
  const size_t technique = techniqueStart(effect);
  if (technique == std::string::npos) return {};
  return matches(effect.substr(technique), std::regex(R"(pass\s+(\w+)\s*;)"));
}

std::string glslEffectTextOf(const HlslPasses& passes) {
  static const std::regex preprocessorLine(R"((^|\n)#[^\n]*)");
  static const std::regex binding(R"(layout\(binding = \d+\) )");
  static const std::regex output(R"(layout\(location = 0\) out vec4 (\w+);)");
  static const std::regex ownName(R"((?:^|\n)(?:const )?\w+(?:\[\d+\])? (\w+)\b)");
  std::string source = "#version 330 core\n", technique = "technique {";
  std::set<std::string> uniforms;
  for (size_t i = 0; i < passes.fragmentShaders.size(); ++i) {
    const std::string suffix = "_pass" + std::to_string(i);
    std::string glsl = std::regex_replace(passes.fragmentShaders[i], preprocessorLine, "$1");
    glsl = std::regex_replace(std::regex_replace(glsl, binding, ""), output, "vec4 $1;");
    glsl = std::regex_replace(glsl, std::regex(R"(\bin vec2 gm_texcoord;)"), "vec2 gm_texcoord;");
    std::string body;
    std::istringstream lines(glsl);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("uniform ", 0) != 0) {
        body += line + "\n";
      } else if (uniforms.insert(line).second) {
        source += line + "\n";
      }
    }
    // Every name declared at the top level (functions, constants, the input
    // and the output; the uniforms have left) becomes this pass's own.
    for (const std::string& name : matches(body, ownName)) {
      body = std::regex_replace(body, std::regex("(^|[^.\\w])" + name + "\\b"), "$1" + name + suffix);
    }
    std::smatch found;
    const std::string outputName =
        std::regex_search(passes.fragmentShaders[i], found, output) ? found.str(1) : std::string();
    source += body + "vec4 gm_pass" + std::to_string(i) + "(vec2 v) { gm_texcoord" + suffix + " = v; main" + suffix +
              "(); return " + outputName + suffix + "; }\n";
    technique += " pass gm_pass" + std::to_string(i) + ";";
  }
  return source + technique + " }\n";
}
