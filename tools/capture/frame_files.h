// The --frames output: a folder of PNG files, one a frame, named by the
// frame's number in the show (frame-00000.png, ...), and frames.csv, one
// line a frame: frame, position in samples, music time, flash level. The
// set is written into a temporary folder inside the target and moved into
// it only once complete (staged_output.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/capture/staged_output.h"

inline constexpr char kManifestName[] = "frames.csv";
inline constexpr char kManifestHeader[] = "frame,position,music_time,flash_level\n";

// One line of the manifest, as numbers.
struct ManifestRow {
  uint32_t frame = 0;
  uint32_t position = 0;  // samples
  float musicTime = 0.0f;
  float flashLevel = 0.0f;
};

// The line as the manifest writes it, without its line end.
std::string manifestRowText(const ManifestRow& row);

// Reads a line (without its line end); false unless it is exactly what
// manifestRowText writes.
bool readManifestRow(const std::string& line, ManifestRow* row);

struct FrameFiles {
  StagedFolder folder;
  std::FILE* manifest = nullptr;
};

// The name of frame n's picture in the folder.
std::string framePngName(uint32_t frame);

// Stages the folder (made when it does not exist; its parent must) and
// starts the manifest. False with the reason, nothing left behind.
bool openFrameFiles(FrameFiles& files, const std::string& folder, std::string* error);

// Frame n's picture (RGB, rows top to bottom) as PNG.
bool addFramePng(FrameFiles& files, uint32_t frame, const uint8_t* rgb, int width, int height, std::string* error);

// A finished frame picture at `source` as frame n's (a link to it when the
// system can make one, else a copy): the set gets the same bytes.
bool addFramePngFile(FrameFiles& files, uint32_t frame, const std::string& source, std::string* error);

// One manifest line.
bool addManifestRow(FrameFiles& files, const ManifestRow& row, std::string* error);

// Finishes the manifest: the set is then complete in the staged folder,
// ready for the commit (commitStaged). False with the reason when a last
// write fails.
bool finishFrameFiles(FrameFiles& files, std::string* error);

// Removes whatever of the set was written (and the folder, when the
// capture made it).
void discardFrameFiles(FrameFiles& files);
