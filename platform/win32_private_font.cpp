// The show's face installed with GDI for this process only (FR_PRIVATE)
// from a checked TrueType file.
#include <cstring>
#include <string>
#include <vector>

#include "platform/failure_text.h"
#include "platform/font.h"
#include "platform/truetype_file.h"
#include "platform/win32_shared.h"

namespace {

struct PrivateFont {
  std::string fileName;  // as the show names it
  std::string path;      // what GDI was given; empty while nothing is installed
};

PrivateFont state;

std::string executableFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  char* slash = std::strrchr(path, '\\');
  if (!slash) return {};
  *slash = '\0';
  return path;
}

int CALLBACK noteFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

}  // namespace

bool fontFamilyAvailable(const char* family) {
  if (!family || !*family || std::strlen(family) >= LF_FACESIZE) return false;
  LOGFONTA wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(wanted.lfFaceName, family);
  bool found = false;
  const HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &wanted, noteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

bool installFont(const char* fileName, const char* family, std::string* error) {
  const std::string name = fileName ? fileName : "";
  std::string path;
  std::vector<unsigned char> bytes;
  if (!loadTrueTypeFile(name, executableFolder(), path, bytes, error)) return false;
  // Installing another face replaces the one installed before.
  if (!state.path.empty()) removeFont(state.fileName.c_str());
  if (AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr) == 0) {
    *error = platformFailure(path, "the system does not take it as a font");
    return false;
  }
  if (!fontFamilyAvailable(family)) {
    RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr);
    *error = platformFailure(path, std::string("holds no family \"") + (family ? family : "") + "\"");
    return false;
  }
  state.fileName = name;
  state.path = path;
  return true;
}

std::string fontFilePath(const char* fileName) {
  return fileName ? locateTrueTypeFile(fileName, executableFolder()) : std::string();
}

void removeFont(const char* fileName) {
  if (state.path.empty() || !fileName || state.fileName != fileName) return;
  RemoveFontResourceExA(state.path.c_str(), FR_PRIVATE, nullptr);
  state.fileName.clear();
  state.path.clear();
}
