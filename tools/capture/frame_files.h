// The --frames output: a folder of PNG files, one a frame, named by the
// frame's number in the show (frame-00000.png, ...), and frames.csv, one
// line a frame: frame, position in samples, music time, flash level.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

inline constexpr char kManifestName[] = "frames.csv";
inline constexpr char kManifestHeader[] = "frame,position,music_time,flash_level\n";

struct FrameFiles {
  std::string folder;
  std::FILE* manifest = nullptr;
};

// Makes the folder when it does not exist (its parent must) and starts the
// manifest. False with the reason when either cannot be written.
bool openFrameFiles(FrameFiles& files, const std::string& folder, std::string* error);

// Where frame n's picture goes.
std::string framePngPath(const FrameFiles& files, uint32_t frame);

// One manifest line.
bool addManifestRow(FrameFiles& files, uint32_t frame, uint32_t position, float musicTime, float flashLevel,
                    std::string* error);

// Closes the manifest. False when its last lines could not be written.
bool closeFrameFiles(FrameFiles& files, std::string* error);
