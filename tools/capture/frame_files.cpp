#include "tools/capture/frame_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/capture/png_file.h"

namespace {

// Where a file of the set goes, as the messages name it.
std::string targetPath(const FrameFiles& files, const std::string& name) { return files.folder.target + "/" + name; }

bool manifestFailed(const FrameFiles& files, std::string* error) {
  *error = writeFailure(targetPath(files, kManifestName), errno);
  return false;
}

}  // namespace

std::string manifestRowText(const ManifestRow& row) {
  // Nine significant digits give back the exact float.
  char line[96];
  std::snprintf(line, sizeof line, "%u,%u,%.9g,%.9g", row.frame, row.position, static_cast<double>(row.musicTime),
                static_cast<double>(row.flashLevel));
  return line;
}

bool readManifestRow(const std::string& line, ManifestRow* row) {
  char rest = 0;
  return std::sscanf(line.c_str(), "%u,%u,%g,%g%c", &row->frame, &row->position, &row->musicTime, &row->flashLevel,
                     &rest) == 4 &&
         manifestRowText(*row) == line;
}

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

bool addFramePngFile(FrameFiles& files, uint32_t frame, const std::string& source, std::string* error) {
  const std::string name = framePngName(frame);
  const std::string staged = stagedPath(files.folder, name);
  // A link to a picture gives the picture itself.
  if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, staged.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  const int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) {
    *error = "cannot read '" + source + "': " + std::strerror(errno);
    return false;
  }
  const int to = open(staged.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  bool ok = to >= 0;
  if (!ok) *error = writeFailure(targetPath(files, name), errno);
  char buffer[1 << 16];
  for (ssize_t got = 1; ok && got > 0;) {
    got = read(from, buffer, sizeof buffer);
    if (got < 0) *error = "cannot read '" + source + "': " + std::strerror(errno);
    ok = got >= 0 && writeAll(to, targetPath(files, name), buffer, static_cast<size_t>(got), error);
  }
  close(from);
  std::string closing;
  if (to >= 0 && !closeWritten(to, targetPath(files, name), &closing) && ok) {
    *error = closing;
    ok = false;
  }
  return ok;
}

bool addManifestRow(FrameFiles& files, const ManifestRow& row, std::string* error) {
  if (std::fprintf(files.manifest, "%s\n", manifestRowText(row).c_str()) < 0) return manifestFailed(files, error);
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
