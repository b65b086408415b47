#include "tools/capture/staged_output.h"

#include <dirent.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
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

namespace {

// New outputs are written under names with the first marker; old files
// wait during the commit under names with the second. A later capture
// removes a killed capture's new outputs, but puts its old files back.
constexpr char kPartialMarker[] = ".partial-";
constexpr char kPreviousMarker[] = ".previous-";

// The longest name the folder takes.
size_t nameLimit(const std::string& folder) {
  const long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<size_t>(limit) : NAME_MAX;
}

// "MARKER PID-XXXXXX": the unique part of every temporary name.
std::string temporaryPart(const char* marker) { return marker + std::to_string(getpid()) + "-XXXXXX"; }

// Whether `entry` is "LEAD" + `marker` + "PID-XXXXXX" + `tail` with LEAD
// taking `leadSize` characters, made by a capture whose process has ended.
bool madeByEndedCapture(const std::string& entry, size_t leadSize, const char* marker, const std::string& tail) {
  const size_t markerSize = std::strlen(marker);
  if (entry.compare(leadSize, markerSize, marker) != 0) return false;
  const size_t digits = leadSize + markerSize;
  size_t dash = digits;
  while (dash < entry.size() && dash - digits < 10 && std::isdigit(static_cast<unsigned char>(entry[dash]))) ++dash;
  if (dash == digits || entry.size() != dash + 7 + tail.size() || entry[dash] != '-' ||
      entry.compare(dash + 7, std::string::npos, tail) != 0)
    return false;
  for (size_t c = dash + 1; c < dash + 7; ++c)
    if (!std::isalnum(static_cast<unsigned char>(entry[c]))) return false;
  const long pid = std::strtol(entry.c_str() + digits, nullptr, 10);
  return pid > 0 && pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes the regular files in a temporary folder, then the folder.
void removeTemporaryFolder(const std::string& folder) {
  if (DIR* files = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(files)) {
      const std::string path = folder + "/" + entry->d_name;
      struct stat info;
      if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) unlink(path.c_str());
    }
    closedir(files);
  }
  rmdir(folder.c_str());
}

// `name` in `folder`, as the user named the folder.
std::string inFolder(const std::string& folder, const std::string& name) {
  return folder == "." ? name : folder + "/" + name;
}

std::string removedNote(const std::string& path) { return "removed '" + path + "', left by a capture that was killed"; }

enum class OldFile { none, removed, putBack, kept };

// An old file that a killed capture had moved aside to `aside` goes back to
// `target` when nothing took its place there (`target` empty: unknown, it
// stays). An empty one is removed: it holds nothing, and is most often
// the name a capture reserved and never filled.
OldFile recoverOldFile(const std::string& aside, const std::string& target) {
  struct stat info;
  if (lstat(aside.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return OldFile::none;
  if (info.st_size == 0) return unlink(aside.c_str()) == 0 ? OldFile::removed : OldFile::none;
  // A link, not a rename: it never replaces a file that has just appeared.
  if (!target.empty() && link(aside.c_str(), target.c_str()) == 0) {
    unlink(aside.c_str());
    return OldFile::putBack;
  }
  return OldFile::kept;
}

// The old files in the folder `aside` that a killed capture had moved out
// of the frame set `folder`, put back or kept; says which in `notes`.
void recoverOldFolder(const std::string& aside, const std::string& folder, std::vector<std::string>& notes) {
  int putBack = 0, kept = 0;
  if (DIR* files = opendir(aside.c_str())) {
    while (const dirent* entry = readdir(files)) {
      const std::string name = entry->d_name;
      const OldFile result = recoverOldFile(aside + "/" + name, folder + "/" + name);
      putBack += result == OldFile::putBack ? 1 : 0;
      kept += result == OldFile::kept ? 1 : 0;
    }
    closedir(files);
  }
  auto files = [](int count) { return std::to_string(count) + (count == 1 ? " old file" : " old files"); };
  if (putBack > 0)
    notes.push_back("put back " + files(putBack) + " into '" + folder + "' from '" + aside +
                    "', where a capture that was killed had moved them");
  if (kept > 0)
    notes.push_back("kept " + files(kept) + " in '" + aside +
                    "', moved there by a capture that was killed: files of the same names took their places");
  else if (rmdir(aside.c_str()) == 0 && putBack == 0)
    notes.push_back(removedNote(aside));
}

// Tidies, in `folder`, what this user's killed captures left: for the file
// STEM + `extension` (the stem maybe cut short) when `stem` is given, else
// for a frame set. New outputs are removed, old files put back or kept.
// Returns what it did, one sentence each.
std::vector<std::string> tidyKilledCaptures(const std::string& folder, const std::string* stem,
                                            const std::string& extension) {
  std::vector<std::string> notes;
  DIR* entries = opendir(folder.c_str());
  if (entries == nullptr) return notes;
  while (const dirent* entry = readdir(entries)) {
    const std::string name = entry->d_name;
    const char* marker = nullptr;
    size_t lead = std::string::npos;
    for (const char* candidate : {kPartialMarker, kPreviousMarker}) {
      const size_t at = name.rfind(candidate);
      const bool ours = at != std::string::npos &&
                        (stem != nullptr ? at >= 1 && name[0] == '.' && at - 1 <= stem->size() &&
                                               name.compare(1, at - 1, *stem, 0, at - 1) == 0 &&
                                               madeByEndedCapture(name, at, candidate, extension)
                                         : at == 0 && madeByEndedCapture(name, 0, candidate, ""));
      if (ours) {
        marker = candidate;
        lead = at;
      }
    }
    const std::string path = inFolder(folder, name);
    struct stat info;
    if (marker == nullptr || lstat(path.c_str(), &info) != 0 || info.st_uid != geteuid()) continue;
    if (marker == kPreviousMarker && stem == nullptr) {
      if (S_ISDIR(info.st_mode)) recoverOldFolder(path, folder, notes);
    } else if (marker == kPreviousMarker) {
      // A stem cut short could be another long name's: that old file stays.
      const std::string target = lead - 1 == stem->size() ? inFolder(folder, *stem + extension) : "";
      const OldFile result = recoverOldFile(path, target);
      if (result == OldFile::putBack)
        notes.push_back("put back '" + target + "' from '" + path + "', where a capture that was killed had moved it");
      if (result == OldFile::kept)
        notes.push_back("kept '" + path + "': an old file that a capture that was killed had moved there");
      if (result == OldFile::removed) notes.push_back(removedNote(path));
    } else {
      if (stem != nullptr && S_ISREG(info.st_mode)) unlink(path.c_str());
      if (stem == nullptr && S_ISDIR(info.st_mode)) removeTemporaryFolder(path);
      if (access(path.c_str(), F_OK) != 0) notes.push_back(removedNote(path));
    }
  }
  closedir(entries);
  return notes;
}

// Makes an empty file of a temporary name beside `target`, whose name is
// `stem` + `extension`; -1 with the reason in errno.
int makeTemporaryFile(const std::string& folder, const std::string& stem, const std::string& extension,
                      const char* marker, std::string* path) {
  const size_t limit = nameLimit(folder);
  const size_t fixed = 1 + temporaryPart(marker).size();
  std::string tail = extension;
  if (fixed + tail.size() > limit) tail.clear();  // only the video's name needs it, and it is short
  const size_t room = limit > fixed + tail.size() ? limit - fixed - tail.size() : 0;
  *path = folder + "/." + stem.substr(0, room) + temporaryPart(marker) + tail;
  return mkostemps(path->data(), static_cast<int>(tail.size()), O_CLOEXEC);
}

void removeQuietly(std::string& path) {
  if (!path.empty()) unlink(path.c_str());
  path.clear();
}

// A rename of the commit, kept to be undone.
struct Move {
  std::string from;
  std::string to;
  std::string* keeps;  // the temporary name that keeps an old file while it lies at `to`, or none
};

bool move(std::vector<Move>& done, const std::string& from, const std::string& to, const std::string& target,
          std::string* keeps, std::string* error) {
  if (rename(from.c_str(), to.c_str()) != 0) {
    *error = "cannot put '" + target + "' in place: " + std::strerror(errno);
    return false;
  }
  done.push_back({from, to, keeps});
  return true;
}

// Moves the file at `target` to `aside`, when there is one; one that is no
// longer a regular file is refused.
bool moveAside(std::vector<Move>& done, const std::string& target, const std::string& aside, std::string* keeps,
               std::string* error) {
  struct stat info;
  if (lstat(target.c_str(), &info) != 0 && errno == ENOENT) return true;
  return checkReplaceable(target, error) && move(done, target, aside, target, keeps, error);
}

bool placeFile(std::vector<Move>& done, StagedFile& file, std::string* error) {
  return moveAside(done, file.target, file.aside, &file.aside, error) &&
         move(done, file.temporary, file.target, file.target, nullptr, error);
}

bool placeFolder(std::vector<Move>& done, StagedFolder& folder, std::string* error) {
  DIR* files = opendir(folder.temporary.c_str());
  if (files == nullptr) {
    *error = "cannot read the folder '" + folder.temporary + "': " + std::strerror(errno);
    return false;
  }
  bool ok = true;
  while (ok) {
    const dirent* entry = readdir(files);
    if (entry == nullptr) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string target = folder.target + "/" + name;
    ok = moveAside(done, target, folder.aside + "/" + name, &folder.aside, error) &&
         move(done, stagedPath(folder, name), target, target, nullptr, error);
  }
  closedir(files);
  return ok;
}

// Undoes the moves, the last first. An old file that cannot be moved back
// is named in the message and kept where it lies.
void undo(std::vector<Move>& done, std::string* error) {
  for (auto move = done.rbegin(); move != done.rend(); ++move) {
    if (rename(move->to.c_str(), move->from.c_str()) == 0 || move->keeps == nullptr) continue;
    *error += "; the old '" + move->from + "' could not be put back (" + std::strerror(errno) + "): it is kept as '" +
              move->to + "'";
    move->keeps->clear();
  }
  done.clear();
}

bool flushFile(StagedFile& file, std::string* error) {
  bool ok = fsync(file.descriptor) == 0;
  if (!ok) *error = writeFailure(file.target, errno);
  const int descriptor = file.descriptor;
  file.descriptor = -1;
  std::string closing;
  if (!closeWritten(descriptor, file.target, &closing) && ok) {
    *error = closing;
    ok = false;
  }
  return ok;
}

bool flushFolder(const StagedFolder& folder, std::string* error) {
  const int descriptor = open(folder.temporary.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool ok = descriptor >= 0 && syncfs(descriptor) == 0;
  if (!ok) *error = writeFailure(folder.target, errno);
  if (descriptor >= 0) close(descriptor);
  return ok;
}

}  // namespace

bool stageFile(StagedFile& file, const std::string& target, std::string* error) {
  file = StagedFile{};
  file.target = followLink(target);
  const std::string folder = folderOf(file.target);
  const std::string name = nameOf(file.target);
  const size_t dot = name.rfind('.');
  // The extension stays last: ffmpeg picks the container by it.
  const std::string extension = dot != std::string::npos && dot > 0 ? name.substr(dot) : "";
  const std::string stem = name.substr(0, name.size() - extension.size());
  file.leftovers = tidyKilledCaptures(folder, &stem, extension);
  struct stat info;
  const mode_t mode = stat(file.target.c_str(), &info) == 0 ? info.st_mode & 07777 : newFileMode();
  const int descriptor = makeTemporaryFile(folder, stem, extension, kPartialMarker, &file.temporary);
  const int aside = descriptor < 0 ? -1 : makeTemporaryFile(folder, stem, extension, kPreviousMarker, &file.aside);
  if (descriptor < 0 || aside < 0 || fchmod(descriptor, mode) != 0) {
    *error = "cannot write '" + target + "': " + std::strerror(errno);
    if (descriptor < 0) file.temporary.clear();
    if (aside < 0) file.aside.clear();
    if (aside >= 0) close(aside);
    file.descriptor = descriptor;
    discardFile(file);
    return false;
  }
  close(aside);
  file.descriptor = descriptor;
  return true;
}

void discardFile(StagedFile& file) {
  if (file.descriptor >= 0) close(file.descriptor);
  file.descriptor = -1;
  removeQuietly(file.temporary);
  removeQuietly(file.aside);
}

void mentionLeftovers(const std::vector<std::string>& leftovers) {
  for (const std::string& note : leftovers) std::fprintf(stderr, "glass-meridian-capture: %s\n", note.c_str());
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
  folder.leftovers = tidyKilledCaptures(target, nullptr, "");
  for (std::string* made : {&folder.temporary, &folder.aside}) {
    std::string name = target + "/" + temporaryPart(made == &folder.temporary ? kPartialMarker : kPreviousMarker);
    if (mkdtemp(name.data()) == nullptr) {
      *error = "cannot write into the folder '" + target + "': " + std::strerror(errno);
      discardFolder(folder);
      return false;
    }
    *made = name;
  }
  return true;
}

std::string stagedPath(const StagedFolder& folder, const std::string& name) { return folder.temporary + "/" + name; }

void discardFolder(StagedFolder& folder) {
  for (std::string* made : {&folder.temporary, &folder.aside}) {
    if (!made->empty()) removeTemporaryFolder(*made);
    made->clear();
  }
  if (folder.madeTarget) rmdir(folder.target.c_str());
  folder.madeTarget = false;
}

bool commitStaged(const std::vector<StagedFile*>& files, StagedFolder* folder, std::string* error) {
  // Every output on the disk before any takes its place.
  for (StagedFile* file : files)
    if (!flushFile(*file, error)) return false;
  if (folder != nullptr && !flushFolder(*folder, error)) return false;
  std::vector<Move> done;
  bool ok = true;
  for (StagedFile* file : files) ok = ok && placeFile(done, *file, error);
  if (ok && folder != nullptr) ok = placeFolder(done, *folder, error);
  if (!ok) {
    undo(done, error);
    return false;
  }
  for (StagedFile* file : files) file->temporary.clear();
  if (folder != nullptr) folder->madeTarget = false;  // it holds the set now
  return true;
}
