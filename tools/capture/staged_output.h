// Outputs written beside their targets under temporary names and put in
// place by rename only once complete and flushed: a capture that fails or
// is stopped leaves every target as it was. A target that exists must be a
// regular file, or a link to one: the file behind the link is replaced and
// the link stays. A device, a FIFO, a folder or a link to nothing of that
// name is refused, never replaced.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The message for a failed write of `name`: the file and the system's reason.
std::string writeFailure(const std::string& name, int errorNumber);

// Writes all `size` bytes to the descriptor, resuming after short writes.
// False with writeFailure(name, ...) when the system refuses the rest.
bool writeAll(int descriptor, const std::string& name, const void* bytes, size_t size, std::string* error);

// Closes the descriptor; false with writeFailure(name, ...) when the
// system reports a failed write only then.
bool closeWritten(int descriptor, const std::string& name, std::string* error);

// Whether a file can be written to `target` by staging: its folder exists
// and may be written, and `target` is absent or a regular file. False with
// the reason. Touches nothing.
bool checkFileTarget(const std::string& target, std::string* error);

// The same for a folder of outputs: an existing folder that may be
// written, or an absent name in such a folder.
bool checkFolderTarget(const std::string& target, std::string* error);

// Whether an existing `path` is a regular file, or absent. False with the
// reason otherwise.
bool checkReplaceable(const std::string& path, std::string* error);

// One text for every path of the same place, whether something lies there
// or not (its folder must exist): the device and inode of what lies there
// (links followed), else of its folder and the name in it. Two outputs with
// the same identity would overwrite each other. No path is made absolute,
// so a working folder of any depth is told apart as well.
std::string pathIdentity(const std::string& path);

// `name` in `folder` as a user named the folder, without a doubled slash
// ("out/" and "out" give "out/NAME").
std::string pathInFolder(const std::string& folder, const std::string& name);

// Each output has a work folder beside its file: ".STEM.capture-PID-TOKEN"
// (the stem cut short where the name would pass the folder's limit on
// name length), or ".capture-PID-TOKEN" inside a folder of outputs. PID is
// the capture's process, TOKEN random; the folder's file "mark" repeats
// TOKEN and names the output. Inside it, "new" (with the file's extension)
// is the new file or the folder of new files, "old" where the old file or
// files wait during the commit. A later capture tidies only the work
// folders for its own outputs whose process is gone (killed) and whose
// mark proves them a capture's; anything else of a similar name is never
// touched. It removes their new outputs and puts old files back under
// their names when nothing took those names, else keeps them where they
// are and names them.

struct StagedFile {
  std::string target;     // where the file goes (a link's own target)
  std::string work;       // beside it: the work folder
  std::string temporary;  // in the work folder: the new file
  std::string aside;      // in the work folder: where the old file waits while the outputs are put in place
  int descriptor = -1;    // open on the temporary file for writing
  std::vector<std::string> leftovers;  // what staging did with killed captures' files, one sentence each
};

// Tidies what killed captures left for `target`, then creates the
// temporary file and the place for the old file beside it (the new file
// with the target's permission bits when it exists). False with the
// reason, nothing made.
bool stageFile(StagedFile& file, const std::string& target, std::string* error);

// Closes and removes the temporary files, if there are any.
void discardFile(StagedFile& file);

struct StagedFolder {
  std::string target;     // the folder the files go into, without a trailing slash
  std::string work;       // inside it: the work folder
  std::string temporary;  // in the work folder: the new files
  std::string aside;      // in the work folder: where old files of the same names wait during the commit
  bool madeTarget = false;
  std::vector<std::string> leftovers;  // what staging did with killed captures' files, one sentence each
};

// Makes the target folder when it does not exist (its parent must), tidies
// what killed captures left in it and makes its work folder with the
// folders of new and old files. False with the reason, nothing made.
bool stageFolder(StagedFolder& folder, const std::string& target, std::string* error);

// Where a file of the set is written until the commit.
std::string stagedPath(const StagedFolder& folder, const std::string& name);

// Removes the work folder with its files, and the target when
// staging made it and no commit filled it.
void discardFolder(StagedFolder& folder);

// Puts every staged output in place, all or nothing: each is flushed to
// the disk first, then each existing target is moved aside and the new file
// takes its name; when any step fails, every step done is undone, so that
// every target is as it was, and false comes back with the reason. A folder
// counts as one output with all its files. The old files are removed by
// the discard functions. A completed commit is not undone.
bool commitStaged(const std::vector<StagedFile*>& files, StagedFolder* folder, std::string* error);
