#include "tools/capture/frame_set.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/capture/capture_options.h"
#include "tools/capture/png_file.h"
#include "tools/capture/staged_output.h"

namespace {

// A line as a message shows it: short, and only printable characters.
std::string shownLine(const std::string& line) {
  constexpr size_t kLongest = 60;
  std::string shown;
  for (const char c : line.substr(0, kLongest)) shown += c >= ' ' && c <= '~' ? c : '?';
  return line.size() > kLongest ? shown + "..." : shown;
}

bool readManifest(const std::string& folder, std::vector<FrameSetFrame>& frames, std::string* error) {
  const std::string path = pathInFolder(folder, kManifestName);
  std::FILE* file = std::fopen(path.c_str(), "re");
  if (file == nullptr) {
    *error = "cannot read '" + path + "' (" + std::strerror(errno) + "): '" + folder + "' is no frame set";
    return false;
  }
  bool ok = true;
  char buffer[256];
  for (int line = 1; ok && std::fgets(buffer, sizeof buffer, file) != nullptr; ++line) {
    std::string text = buffer;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    FrameSetFrame frame;
    if (line == 1 ? text + "\n" == kManifestHeader : readManifestRow(text, &frame.row)) {
      if (line > 1) frames.push_back({frame.row, pathInFolder(folder, framePngName(frame.row.frame))});
      continue;
    }
    *error = "line " + std::to_string(line) + " of '" + path + "' is not " +
             (line == 1 ? std::string("the heading of a frame set") : "a frame's line as the capture writes it") +
             ": '" + shownLine(text) + "'";
    ok = false;
  }
  if (ok && std::ferror(file) != 0) {
    *error = "cannot read '" + path + "': " + std::strerror(errno);
    ok = false;
  }
  std::fclose(file);
  return ok;
}

// Every frame once, none left out between the first and the last.
bool checkWhole(const std::vector<FrameSetFrame>& frames, std::string* error) {
  if (frames.empty()) {
    *error = "the frame set lists no frames";
    return false;
  }
  for (size_t i = 1; i < frames.size(); ++i) {
    const uint32_t before = frames[i - 1].row.frame, frame = frames[i].row.frame;
    if (frame == before) {
      *error = "'" + frames[i - 1].png + "' and '" + frames[i].png + "' are both frame " + std::to_string(frame) +
               ": a frame set holds each frame once";
      return false;
    }
    if (frame != before + 1) {
      *error = framePngName(before + 1) + " is missing: the set's frames.csv goes from frame " +
               std::to_string(before) + " to frame " + std::to_string(frame) + " without it";
      return false;
    }
  }
  return true;
}

// The one rate at which every frame lies at its listed position.
bool findFrameRate(const std::vector<FrameSetFrame>& frames, uint32_t given, uint32_t* fps, std::string* error) {
  std::vector<uint32_t> rates;
  for (uint32_t rate = given != 0 ? given : 1; rate <= (given != 0 ? given : kHighestFps); ++rate)
    rates.push_back(rate);
  for (const FrameSetFrame& frame : frames) {
    const auto fits = [&](uint32_t rate) { return framePosition(frame.row.frame, rate) == frame.row.position; };
    if (std::none_of(rates.begin(), rates.end(), fits)) {
      *error = "'" + frame.png + "' is not a frame of this set: frames.csv puts frame " +
               std::to_string(frame.row.frame) + " at sample " + std::to_string(frame.row.position) + ", which " +
               (given != 0 ? "is not its place at " + frameRateText(given)
                           : std::string("fits no frame rate of the frames before it"));
      return false;
    }
    rates.erase(std::remove_if(rates.begin(), rates.end(), [&](uint32_t rate) { return !fits(rate); }), rates.end());
  }
  if (rates.size() > 1) {
    *error = "the set's frames fit " + std::to_string(rates.size()) + " frame rates (" + std::to_string(rates.front()) +
             " to " + std::to_string(rates.back()) + " frames a second): give --fps";
    return false;
  }
  *fps = rates.front();
  if (frames.back().row.frame < showFrameCount(*fps)) return true;
  *error = "'" + frames.back().png + "' lies past the end of the show at " + frameRateText(*fps);
  return false;
}

// Every picture there, and all of one size.
bool checkPictures(FrameSet& set, std::string* error) {
  for (const FrameSetFrame& frame : set.frames) {
    struct stat info;
    if (stat(frame.png.c_str(), &info) != 0) {
      *error = "'" + frame.png + "' is missing: frames.csv lists frame " + std::to_string(frame.row.frame) +
               " (" + std::strerror(errno) + ")";
      return false;
    }
    int width = 0, height = 0;
    if (!readPngSize(frame.png, &width, &height, error)) return false;
    if (set.width == 0) {
      set.width = width;
      set.height = height;
    } else if (width != set.width || height != set.height) {
      *error = "'" + frame.png + "' is " + frameSizeText(width, height) + ", not the set's size: '" +
               set.frames.front().png + "' is " + frameSizeText(set.width, set.height);
      return false;
    }
  }
  return true;
}

}  // namespace

bool readFrameSets(const std::vector<std::string>& folders, uint32_t fps, FrameSet* set, std::string* error) {
  *set = FrameSet{};
  for (const std::string& folder : folders)
    if (!readManifest(folder, set->frames, error)) return false;
  std::stable_sort(set->frames.begin(), set->frames.end(),
                   [](const FrameSetFrame& a, const FrameSetFrame& b) { return a.row.frame < b.row.frame; });
  if (!checkWhole(set->frames, error) || !findFrameRate(set->frames, fps, &set->fps, error)) return false;
  set->range = {set->frames.front().row.frame, set->frames.back().row.frame + 1};
  return checkPictures(*set, error);
}
