#include "tools/capture/frame_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "tools/capture/png_file.h"

namespace {

// Where a file of the set goes, as the messages name it.
std::string targetPath(const FrameFiles& files, const std::string& name) { return files.folder.target + "/" + name; }

bool manifestFailed(const FrameFiles& files, std::string* error) {
  *error = writeFailure(targetPath(files, kManifestName), errno);
  return false;
}

}  // namespace

std::string framePngName(uint32_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05u.png", frame);
  return name;
}

bool openFrameFiles(FrameFiles& files, const std::string& folder, std::string* error) {
  if (!stageFolder(files.folder, folder, error)) return false;
  files.manifest = std::fopen(stagedPath(files.folder, kManifestName).c_str(), "wxe");
  if (files.manifest == nullptr || std::fputs(kManifestHeader, files.manifest) < 0) {
    manifestFailed(files, error);
    discardFrameFiles(files);
    return false;
  }
  return true;
}

bool addFramePng(FrameFiles& files, uint32_t frame, const uint8_t* rgb, int width, int height, std::string* error) {
  const std::string name = framePngName(frame);
  const int file = open(stagedPath(files.folder, name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file < 0) {
    *error = writeFailure(targetPath(files, name), errno);
    return false;
  }
  const bool written = writePng(file, targetPath(files, name), rgb, width, height, error);
  std::string closing;
  const bool closed = closeWritten(file, targetPath(files, name), &closing);
  if (written && !closed) *error = closing;
  return written && closed;
}

bool addManifestRow(FrameFiles& files, uint32_t frame, uint32_t position, float musicTime, float flashLevel,
                    std::string* error) {
  // Nine significant digits give back the exact float.
  if (std::fprintf(files.manifest, "%u,%u,%.9g,%.9g\n", frame, position, static_cast<double>(musicTime),
                   static_cast<double>(flashLevel)) < 0)
    return manifestFailed(files, error);
  return true;
}

bool finishFrameFiles(FrameFiles& files, std::string* error) {
  std::FILE* manifest = files.manifest;
  files.manifest = nullptr;
  if (std::fflush(manifest) != 0 || std::ferror(manifest) != 0) {
    manifestFailed(files, error);
    std::fclose(manifest);
    return false;
  }
  return std::fclose(manifest) == 0 || manifestFailed(files, error);
}

void discardFrameFiles(FrameFiles& files) {
  if (files.manifest != nullptr) std::fclose(files.manifest);
  files.manifest = nullptr;
  discardFolder(files.folder);
}
