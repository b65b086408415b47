#include "tools/capture/capture_checks.h"

#include <vector>

#include "tools/capture/capture_graphics.h"
#include "tools/capture/capture_status.h"
#include "tools/capture/frame_files.h"
#include "tools/capture/staged_output.h"
#include "tools/capture/video_pipe.h"

namespace {

struct FileOutput {
  const char* option;
  std::string path;
};

std::vector<FileOutput> fileOutputs(const CaptureOptions& o) {
  std::vector<FileOutput> outputs;
  for (const FileOutput& output : {FileOutput{"--wav", o.wavPath}, FileOutput{"--video", o.videoPath},
                                   FileOutput{"--png", o.pngPath}})
    if (!output.path.empty()) outputs.push_back(output);
  return outputs;
}

// The names a frame set of this range writes into its folder.
std::vector<std::string> frameSetNames(const CaptureOptions& o) {
  std::vector<std::string> names = {kManifestName};
  const FrameRange range = optionsFrameRange(o);
  for (uint32_t frame = range.first; frame < range.end; ++frame) names.push_back(framePngName(frame));
  return names;
}

bool checkTargets(const CaptureOptions& o, std::string* error) {
  for (const FileOutput& output : fileOutputs(o))
    if (!checkFileTarget(output.path, error)) return false;
  if (o.framesDir.empty()) return true;
  if (!checkFolderTarget(o.framesDir, error)) return false;
  for (const std::string& name : frameSetNames(o))
    if (!checkReplaceable(pathInFolder(o.framesDir, name), error)) return false;
  return true;
}

// No output may take the place of another, of a file of the frame set or
// of the font the capture reads.
bool checkDistinct(const CaptureOptions& o, std::string* error) {
  struct Claim {
    std::string what;
    std::string identity;
  };
  std::vector<Claim> claims;
  const std::string font = captureFontPath();
  if (!font.empty() && (!o.framesDir.empty() || !o.videoPath.empty() || o.still))
    claims.push_back({"the font '" + font + "'", pathIdentity(font)});
  if (!o.framesDir.empty()) {
    claims.push_back({"--frames", pathIdentity(o.framesDir)});
    for (const std::string& name : frameSetNames(o))
      claims.push_back({"--frames (its " + name + ")", pathIdentity(pathInFolder(o.framesDir, name))});
  }
  for (const FileOutput& output : fileOutputs(o)) {
    const std::string identity = pathIdentity(output.path);
    for (const Claim& claim : claims) {
      if (claim.identity != identity) continue;
      *error = std::string(output.option) + " '" + output.path + "' is the same file as " + claim.what;
      return false;
    }
    claims.push_back({output.option, identity});
  }
  return true;
}

}  // namespace

int checkCapture(const CaptureOptions& options, std::string* ffmpeg, std::string* error) {
  if (!checkSupersampleSize(options.width, options.height, options.supersample, error) ||
      !checkTargets(options, error) || !checkDistinct(options, error))
    return kCaptureRefused;
  if (!options.videoPath.empty() && !findFfmpeg(ffmpeg)) {
    *error = "--video needs ffmpeg, which is not installed (no ffmpeg on PATH); install it, e.g. apt-get install "
             "ffmpeg";
    return kCaptureRefused;
  }
  return kCaptureDone;
}
