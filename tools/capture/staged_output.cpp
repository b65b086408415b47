#include "tools/capture/staged_output.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

std::string withoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A link to a file stands for that file: the file is replaced, the link stays.
std::string followLink(const std::string& path) {
  struct stat info;
  char real[PATH_MAX];
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && realpath(path.c_str(), real) != nullptr)
    return real;
  return path;
}

const char* kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// A folder that exists and may be written into; false with the reason.
bool writableFolder(const std::string& folder, std::string* reason) {
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) {
    *reason = std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    *reason = std::strerror(ENOTDIR);
    return false;
  }
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    *reason = std::strerror(errno);
    return false;
  }
  return true;
}

// New files get what the umask leaves of rw-rw-rw-, as a plain open makes them.
mode_t newFileMode() {
  static const mode_t mask = [] {
    const mode_t m = umask(0);
    umask(m);
    return m;
  }();
  return 0666 & ~mask;
}

}  // namespace

std::string writeFailure(const std::string& name, int errorNumber) {
  return "writing '" + name + "' failed: " + std::strerror(errorNumber);
}

bool writeAll(int descriptor, const std::string& name, const void* bytes, size_t size, std::string* error) {
  const char* at = static_cast<const char*>(bytes);
  while (size > 0) {
    const ssize_t written = write(descriptor, at, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      *error = writeFailure(name, written < 0 ? errno : EIO);
      return false;
    }
    at += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool closeWritten(int descriptor, const std::string& name, std::string* error) {
  if (close(descriptor) == 0 || errno == EINTR) return true;
  *error = writeFailure(name, errno);
  return false;
}

bool checkReplaceable(const std::string& path, std::string* error) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISREG(info.st_mode)) return true;
    *error = "'" + path + "' is " + kindOf(info.st_mode) + ", not a regular file: it is never replaced";
    return false;
  }
  if (errno == ENOENT) return true;
  *error = "cannot write '" + path + "': " + std::strerror(errno);
  return false;
}

bool checkFileTarget(const std::string& target, std::string* error) {
  if (!checkReplaceable(target, error)) return false;
  const std::string path = followLink(target);
  if (nameOf(path).empty()) {
    *error = "cannot write '" + target + "': it names a folder, not a file";
    return false;
  }
  std::string reason;
  if (writableFolder(folderOf(path), &reason)) return true;
  *error = "cannot write '" + target + "': " + reason;
  return false;
}

bool checkFolderTarget(const std::string& target, std::string* error) {
  struct stat info;
  std::string reason;
  if (stat(target.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) {
      *error = "'" + target + "' is not a folder";
      return false;
    }
    if (writableFolder(target, &reason)) return true;
    *error = "cannot write into the folder '" + target + "': " + reason;
    return false;
  }
  if (errno == ENOENT && writableFolder(folderOf(withoutTrailingSlashes(target)), &reason)) return true;
  *error = "cannot make the folder '" + target + "': " + (errno == ENOENT ? reason : std::strerror(errno));
  return false;
}

std::string pathIdentity(const std::string& path) {
  char real[PATH_MAX];
  if (realpath(path.c_str(), real) != nullptr) return real;
  const std::string plain = withoutTrailingSlashes(path);
  if (realpath(folderOf(plain).c_str(), real) == nullptr) return path;
  const std::string folder = real;
  return (folder == "/" ? "" : folder) + "/" + nameOf(plain);
}

bool stageFile(StagedFile& file, const std::string& target, std::string* error) {
  file = StagedFile{};
  file.target = followLink(target);
  const std::string name = nameOf(file.target);
  const size_t dot = name.rfind('.');
  // The extension stays last: ffmpeg picks the container by it.
  const std::string extension = dot != std::string::npos && dot > 0 ? name.substr(dot) : "";
  const std::string stem = name.substr(0, name.size() - extension.size());
  std::string temporary = folderOf(file.target) + "/." + stem + ".partial-XXXXXX" + extension;
  const int descriptor = mkostemps(temporary.data(), static_cast<int>(extension.size()), O_CLOEXEC);
  if (descriptor < 0) {
    *error = "cannot write '" + target + "': " + std::strerror(errno);
    return false;
  }
  struct stat info;
  const mode_t mode = stat(file.target.c_str(), &info) == 0 ? info.st_mode & 07777 : newFileMode();
  if (fchmod(descriptor, mode) != 0) {
    *error = "cannot write '" + target + "': " + std::strerror(errno);
    close(descriptor);
    unlink(temporary.c_str());
    return false;
  }
  file.temporary = temporary;
  file.descriptor = descriptor;
  return true;
}

bool commitFile(StagedFile& file, std::string* error) {
  bool ok = true;
  if (fsync(file.descriptor) != 0) {
    *error = writeFailure(file.target, errno);
    ok = false;
  }
  const int descriptor = file.descriptor;
  file.descriptor = -1;
  std::string closing;
  if (!closeWritten(descriptor, file.target, &closing) && ok) {
    *error = closing;
    ok = false;
  }
  if (ok && rename(file.temporary.c_str(), file.target.c_str()) != 0) {
    *error = "cannot put '" + file.target + "' in place: " + std::strerror(errno);
    ok = false;
  }
  if (ok) file.temporary.clear();
  discardFile(file);
  return ok;
}

void discardFile(StagedFile& file) {
  if (file.descriptor >= 0) close(file.descriptor);
  file.descriptor = -1;
  if (!file.temporary.empty()) unlink(file.temporary.c_str());
  file.temporary.clear();
}

bool stageFolder(StagedFolder& folder, const std::string& target, std::string* error) {
  folder = StagedFolder{};
  folder.target = target;
  struct stat info;
  if (stat(target.c_str(), &info) != 0) {
    if (mkdir(target.c_str(), 0777) != 0) {
      *error = "cannot make the folder '" + target + "': " + std::strerror(errno);
      return false;
    }
    folder.madeTarget = true;
  }
  std::string temporary = target + "/.partial-XXXXXX";
  if (mkdtemp(temporary.data()) == nullptr) {
    *error = "cannot write into the folder '" + target + "': " + std::strerror(errno);
    discardFolder(folder);
    return false;
  }
  folder.temporary = temporary;
  return true;
}

std::string stagedPath(const StagedFolder& folder, const std::string& name) { return folder.temporary + "/" + name; }

bool commitFolder(StagedFolder& folder, std::string* error) {
  DIR* files = opendir(folder.temporary.c_str());
  if (files == nullptr) {
    *error = "cannot read the folder '" + folder.temporary + "': " + std::strerror(errno);
    return false;
  }
  // Every file of the set on the disk before any of them takes its name.
  bool ok = syncfs(dirfd(files)) == 0;
  if (!ok) *error = writeFailure(folder.target, errno);
  while (ok) {
    const dirent* entry = readdir(files);
    if (entry == nullptr) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string target = folder.target + "/" + name;
    if (rename(stagedPath(folder, name).c_str(), target.c_str()) != 0) {
      *error = "cannot put '" + target + "' in place: " + std::strerror(errno);
      ok = false;
    }
  }
  closedir(files);
  if (ok && rmdir(folder.temporary.c_str()) == 0) folder.temporary.clear();
  folder.madeTarget = false;  // it holds the set now
  return ok;
}

void discardFolder(StagedFolder& folder) {
  if (!folder.temporary.empty()) {
    if (DIR* files = opendir(folder.temporary.c_str())) {
      while (const dirent* entry = readdir(files)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") unlink(stagedPath(folder, name).c_str());
      }
      closedir(files);
    }
    rmdir(folder.temporary.c_str());
    folder.temporary.clear();
  }
  if (folder.madeTarget) rmdir(folder.target.c_str());
  folder.madeTarget = false;
}
