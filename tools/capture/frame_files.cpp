#include "tools/capture/frame_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

std::string manifestPath(const FrameFiles& files) { return files.folder + "/" + kManifestName; }

bool failed(const FrameFiles& files, std::string* error) {
  *error = "writing '" + manifestPath(files) + "' failed: " + std::strerror(errno);
  return false;
}

}  // namespace

bool openFrameFiles(FrameFiles& files, const std::string& folder, std::string* error) {
  files.folder = folder;
  if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
    *error = "cannot make the folder '" + folder + "': " + std::strerror(errno);
    return false;
  }
  struct stat info;
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    *error = "'" + folder + "' is not a folder";
    return false;
  }
  files.manifest = std::fopen(manifestPath(files).c_str(), "w");
  if (files.manifest == nullptr) {
    *error = "cannot write '" + manifestPath(files) + "': " + std::strerror(errno);
    return false;
  }
  if (std::fputs(kManifestHeader, files.manifest) < 0) return failed(files, error);
  return true;
}

std::string framePngPath(const FrameFiles& files, uint32_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05u.png", frame);
  return files.folder + "/" + name;
}

bool addManifestRow(FrameFiles& files, uint32_t frame, uint32_t position, float musicTime, float flashLevel,
                    std::string* error) {
  // Nine significant digits give back the exact float.
  if (std::fprintf(files.manifest, "%u,%u,%.9g,%.9g\n", frame, position, static_cast<double>(musicTime),
                   static_cast<double>(flashLevel)) < 0)
    return failed(files, error);
  return true;
}

bool closeFrameFiles(FrameFiles& files, std::string* error) {
  if (files.manifest == nullptr) return true;
  const bool ok = std::fclose(files.manifest) == 0;
  files.manifest = nullptr;
  return ok || failed(files, error);
}
