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
#include <vector>

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

// A link to a file stands for that file: the file is replaced, the link
// stays. The links are read one by one, never made absolute, so that a
// working folder of any depth works as well.
std::string followLink(std::string path) {
  constexpr int kMostLinks = 40;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::vector<char> to(static_cast<size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1);
    const ssize_t length = readlink(path.c_str(), to.data(), to.size());
    if (length <= 0 || static_cast<size_t>(length) >= to.size()) break;
    const std::string link(to.data(), static_cast<size_t>(length));
    path = link[0] == '/' || folderOf(path) == "." ? link : folderOf(path) + "/" + link;
  }
  return path;
}

// A link whose file does not exist: never written through nor replaced.
bool leadsNowhere(const std::string& path, std::string* error) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode) || stat(path.c_str(), &info) == 0) return false;
  *error = "'" + path + "' is a link to '" + followLink(path) + "', which does not exist: it is never replaced";
  return true;
}

const char* kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// A folder that exists and may be written into; false with the reason.
bool writableFolder(const std::string& folder, std::string* error) {
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    *error = std::strerror(ENOTDIR);
    return false;
  }
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    *error = std::strerror(errno);
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
  if (errno == ENOENT) return !leadsNowhere(path, error);
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
  const int missing = errno;
  const std::string plain = withoutTrailingSlashes(target);
  if (missing == ENOENT && leadsNowhere(plain, error)) return false;
  if (missing == ENOENT && writableFolder(folderOf(plain), &reason)) return true;
  *error = "cannot make the folder '" + target + "': " + (missing == ENOENT ? reason : std::strerror(missing));
  return false;
}

std::string pathInFolder(const std::string& folder, const std::string& name) {
  const std::string plain = withoutTrailingSlashes(folder);
  return (plain == "/" ? "" : plain) + "/" + name;
}

std::string pathIdentity(const std::string& path) {
  auto identity = [](const struct stat& info) {
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  };
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return identity(info);
  const std::string plain = withoutTrailingSlashes(path);
  if (stat(folderOf(plain).c_str(), &info) == 0) return identity(info) + "/" + nameOf(plain);
  return path;
}

namespace {

// Every staged output has a work folder of its own beside its target:
// "LEAD.capture-PID-TOKEN", where TOKEN is random. Its mark file repeats
// TOKEN and says what the folder was made for; a later capture touches
// only work folders whose mark proves them a capture's.
constexpr char kWorkMarker[] = ".capture-";
constexpr char kMarkName[] = "mark";
constexpr char kMarkHeading[] = "glass-meridian-capture work folder ";
constexpr char kOldName[] = "old";  // where the target's old file (or a frame set's old files) waits
constexpr char kNewName[] = "new";  // the new file (with the target's extension) or the set's new files
constexpr size_t kTokenSize = 6;
constexpr size_t kLongestMark = 4096;

// The longest name the folder takes.
size_t nameLimit(const std::string& folder) {
  const long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<size_t>(limit) : NAME_MAX;
}

std::string fileWork(const std::string& name) { return "file " + name; }
constexpr char kFrameSetWork[] = "frame set";

// The TOKEN of a work folder's name made by a capture whose process has
// ended; false for any other name.
bool endedCapturesToken(const std::string& name, std::string* token) {
  const size_t at = name.rfind(kWorkMarker);
  if (at == std::string::npos) return false;
  const size_t digits = at + std::strlen(kWorkMarker);
  size_t dash = digits;
  while (dash < name.size() && dash - digits < 10 && std::isdigit(static_cast<unsigned char>(name[dash]))) ++dash;
  if (dash == digits || name.size() != dash + 1 + kTokenSize || name[dash] != '-') return false;
  for (size_t c = dash + 1; c < name.size(); ++c)
    if (!std::isalnum(static_cast<unsigned char>(name[c]))) return false;
  *token = name.substr(dash + 1);
  const long pid = std::strtol(name.c_str() + digits, nullptr, 10);
  return pid > 0 && pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::string markText(const std::string& token, const std::string& work) {
  return kMarkHeading + token + "\n" + work + "\n";
}

// Whether the folder's mark names `token` and says it was made for `work`.
bool markProves(const std::string& folder, const std::string& token, const std::string& work) {
  const int file = open((folder + "/" + kMarkName).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (file < 0) return false;
  char text[kLongestMark];
  const ssize_t got = read(file, text, sizeof text);
  close(file);
  return got > 0 && std::string(text, static_cast<size_t>(got)) == markText(token, work);
}

// Makes the work folder "LEAD.capture-PID-TOKEN" in `folder` (LEAD cut
// short where the name would pass the folder's limit) with its mark. False
// with the reason in errno, nothing made.
bool makeWorkFolder(const std::string& folder, const std::string& lead, const std::string& work, std::string* path) {
  const std::string unique = kWorkMarker + std::to_string(getpid()) + "-" + std::string(kTokenSize, 'X');
  const size_t limit = nameLimit(folder);
  const size_t room = limit > unique.size() ? limit - unique.size() : 0;
  std::string made = folder + "/" + lead.substr(0, room) + unique;
  if (mkdtemp(made.data()) == nullptr) return false;
  const std::string mark = markText(made.substr(made.size() - kTokenSize), work);
  const std::string markPath = made + "/" + kMarkName;
  const int file = open(markPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  const bool written = file >= 0 && write(file, mark.data(), mark.size()) == static_cast<ssize_t>(mark.size());
  const int reason = errno;
  if (file >= 0) close(file);
  if (!written) {
    unlink(markPath.c_str());
    rmdir(made.c_str());
    errno = reason;
    return false;
  }
  *path = made;
  return true;
}

// Removes the work folder's mark and the folder itself when nothing else
// is left in it.
void removeWorkFolder(const std::string& work) {
  if (rmdir(work.c_str()) == 0) return;
  const std::string mark = work + "/" + kMarkName;
  unlink(mark.c_str());
  rmdir(work.c_str());
}

// Removes the regular files and links in a folder of the capture's, then
// the folder when that leaves it empty.
void removeFilesAndFolder(const std::string& folder) {
  if (DIR* files = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(files)) {
      const std::string path = folder + "/" + entry->d_name;
      struct stat info;
      if (lstat(path.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))) unlink(path.c_str());
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

enum class OldFile { none, putBack, kept };

// An old file that a killed capture had moved aside to `aside` goes back to
// `target` when nothing took its place there; else it stays.
OldFile recoverOldFile(const std::string& aside, const std::string& target) {
  struct stat info;
  if (lstat(aside.c_str(), &info) != 0) return OldFile::none;
  // A link, not a rename: it never replaces a file that has just appeared.
  if (link(aside.c_str(), target.c_str()) == 0) {
    unlink(aside.c_str());
    return OldFile::putBack;
  }
  return OldFile::kept;
}

// A killed capture's work folder for the file `target`: its new file goes,
// its old file goes back. Says what happened in `notes`.
void recoverFileWork(const std::string& work, const std::string& target, std::vector<std::string>& notes) {
  if (DIR* files = opendir(work.c_str())) {
    while (const dirent* entry = readdir(files)) {
      const std::string name = entry->d_name;
      if (name.compare(0, std::strlen(kNewName), kNewName) == 0) unlink((work + "/" + name).c_str());
    }
    closedir(files);
  }
  const std::string aside = work + "/" + kOldName;
  const OldFile old = recoverOldFile(aside, target);
  if (old == OldFile::kept) {
    notes.push_back("kept '" + aside + "': an old file that a capture that was killed had moved there");
    return;
  }
  if (old == OldFile::putBack)
    notes.push_back("put back '" + target + "' from '" + aside + "', where a capture that was killed had moved it");
  removeWorkFolder(work);
  if (old == OldFile::none) notes.push_back(removedNote(work));
}

// A killed capture's work folder in the frame set `folder`: the new files
// go, the old files go back, or stay where files of their names appeared.
void recoverFrameSetWork(const std::string& work, const std::string& folder, std::vector<std::string>& notes) {
  removeFilesAndFolder(work + "/" + kNewName);
  const std::string aside = work + "/" + kOldName;
  int putBack = 0, kept = 0;
  if (DIR* files = opendir(aside.c_str())) {
    while (const dirent* entry = readdir(files)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const OldFile result = recoverOldFile(aside + "/" + name, inFolder(folder, name));
      putBack += result == OldFile::putBack ? 1 : 0;
      kept += result == OldFile::kept ? 1 : 0;
    }
    closedir(files);
  }
  auto files = [](int count) { return std::to_string(count) + (count == 1 ? " old file" : " old files"); };
  if (putBack > 0)
    notes.push_back("put back " + files(putBack) + " into '" + folder + "' from '" + aside +
                    "', where a capture that was killed had moved them");
  if (kept > 0) {
    notes.push_back("kept " + files(kept) + " in '" + aside +
                    "', moved there by a capture that was killed: files of the same names took their places");
    return;
  }
  rmdir(aside.c_str());
  removeWorkFolder(work);
  if (putBack == 0) notes.push_back(removedNote(work));
}

// Tidies, in `folder`, what this user's killed captures left for the
// output `work` names (a file of that name, or the frame set): their new
// outputs are removed, old files put back or kept. Only work folders whose
// mark proves them are touched. Returns what it did, one sentence each.
std::vector<std::string> tidyKilledCaptures(const std::string& folder, const std::string& work,
                                            const std::string* fileName) {
  std::vector<std::string> notes;
  DIR* entries = opendir(folder.c_str());
  if (entries == nullptr) return notes;
  while (const dirent* entry = readdir(entries)) {
    const std::string name = entry->d_name;
    std::string token;
    if (!endedCapturesToken(name, &token)) continue;
    const std::string path = inFolder(folder, name);
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
        !markProves(path, token, work))
      continue;
    if (fileName != nullptr) recoverFileWork(path, inFolder(folder, *fileName), notes);
    else recoverFrameSetWork(path, folder, notes);
  }
  closedir(entries);
  return notes;
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
  file.leftovers = tidyKilledCaptures(folder, fileWork(name), &name);
  struct stat info;
  const mode_t mode = stat(file.target.c_str(), &info) == 0 ? info.st_mode & 07777 : newFileMode();
  if (makeWorkFolder(folder, "." + stem, fileWork(name), &file.work)) {
    file.temporary = file.work + "/" + kNewName + extension;
    file.aside = file.work + "/" + kOldName;
    file.descriptor = open(file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file.descriptor >= 0 && fchmod(file.descriptor, mode) == 0) return true;
  }
  *error = "cannot write '" + target + "': " + std::strerror(errno);
  discardFile(file);
  return false;
}

void discardFile(StagedFile& file) {
  if (file.descriptor >= 0) close(file.descriptor);
  file.descriptor = -1;
  removeQuietly(file.temporary);
  // An old file that could not be put back keeps its work folder.
  if (!file.aside.empty() || file.work.empty()) {
    removeQuietly(file.aside);
    if (!file.work.empty()) removeWorkFolder(file.work);
  }
  file.work.clear();
}

bool stageFolder(StagedFolder& folder, const std::string& target, std::string* error) {
  folder = StagedFolder{};
  folder.target = withoutTrailingSlashes(target);
  struct stat info;
  if (stat(folder.target.c_str(), &info) != 0) {
    if (mkdir(folder.target.c_str(), 0777) != 0) {
      *error = "cannot make the folder '" + folder.target + "': " + std::strerror(errno);
      return false;
    }
    folder.madeTarget = true;
  }
  folder.leftovers = tidyKilledCaptures(folder.target, kFrameSetWork, nullptr);
  if (makeWorkFolder(folder.target, "", kFrameSetWork, &folder.work)) {
    folder.temporary = folder.work + "/" + kNewName;
    folder.aside = folder.work + "/" + kOldName;
    if (mkdir(folder.temporary.c_str(), 0700) == 0 && mkdir(folder.aside.c_str(), 0700) == 0) return true;
  }
  *error = "cannot write into the folder '" + folder.target + "': " + std::strerror(errno);
  discardFolder(folder);
  return false;
}

std::string stagedPath(const StagedFolder& folder, const std::string& name) { return folder.temporary + "/" + name; }

void discardFolder(StagedFolder& folder) {
  if (!folder.temporary.empty()) removeFilesAndFolder(folder.temporary);
  folder.temporary.clear();
  // Old files that could not be put back keep their work folder.
  if (!folder.aside.empty() || folder.work.empty()) {
    if (!folder.aside.empty()) removeFilesAndFolder(folder.aside);
    if (!folder.work.empty()) removeWorkFolder(folder.work);
  }
  folder.aside.clear();
  folder.work.clear();
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
