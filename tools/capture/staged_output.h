// Outputs written beside their targets under temporary names and put in
// place by rename only once complete and flushed: a capture that fails or
// is stopped leaves every target as it was. A target that exists must be a
// regular file (or a link to one); a device, a FIFO or a folder of that
// name is refused, never replaced.
#pragma once

#include <cstddef>
#include <string>

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
// or not (its folder must exist): the real path of the folder, links
// followed, and the name in it. Two outputs with the same identity would
// overwrite each other.
std::string pathIdentity(const std::string& path);

struct StagedFile {
  std::string target;     // where the file goes (a link's own target)
  std::string temporary;  // beside it: .NAME.partial-XXXXXX.EXT
  int descriptor = -1;    // open on the temporary file for writing
};

// Creates the temporary file beside `target`, with the target's permission
// bits when it exists. False with the reason, nothing made.
bool stageFile(StagedFile& file, const std::string& target, std::string* error);

// Flushes the temporary file to the disk, closes it and renames it over
// the target. False with the reason, the temporary file removed.
bool commitFile(StagedFile& file, std::string* error);

// Closes and removes the temporary file, if there is one.
void discardFile(StagedFile& file);

struct StagedFolder {
  std::string target;     // the folder the files go into
  std::string temporary;  // inside it: .partial-XXXXXX
  bool madeTarget = false;
};

// Makes the target folder when it does not exist (its parent must), and the
// temporary folder inside it. False with the reason, nothing made.
bool stageFolder(StagedFolder& folder, const std::string& target, std::string* error);

// Where a file of the set is written until the commit.
std::string stagedPath(const StagedFolder& folder, const std::string& name);

// Renames every file of the temporary folder into the target, over files
// of the same names, and removes the temporary folder. False with the reason.
bool commitFolder(StagedFolder& folder, std::string* error);

// Removes the temporary folder with its files, and the target when staging
// made it.
void discardFolder(StagedFolder& folder);
