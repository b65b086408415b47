#include "web/song_feed.h"

#include <cstdio>
#include <string>

#include "host/audio_playback.h"
#include "platform/web_page.h"
#include "platform/web_worker.h"
#include "synth/shared_buffers.h"

namespace {

struct SongFeed {
  bool digestReported = false;  // this show's
  bool fallbackSaid = false;    // in this page load: the console hears of it once
};

SongFeed feed;

// The console hears once a page load why the frame loop renders the song.
void renderInSlices(const std::string& reason) {
  if (!feed.fallbackSaid) std::printf("glass-meridian: %s; the frame loop renders it\n", reason.c_str());
  feed.fallbackSaid = true;
  std::string error;
  if (!renderSongInSlices(&error)) std::printf("glass-meridian: %s\n", error.c_str());
}

void blockArrived(uint32_t mark, double seconds) {
  publishSynthFrames(mark);
  if (mark >= kSongFrames) {
    const double songSeconds = static_cast<double>(kSongFrames) / kSampleRate;
    std::printf("song rendered in %.2f s (%.1fx real time) by the page's worker\n", seconds, songSeconds / seconds);
    stopBlockWorker();
  }
  reportSongWhenComplete();
}

void workerStopped(const char* reason) {
  renderInSlices(webFailure("The song's worker stopped", reason));
}

}  // namespace

void startSongFeed() {
  feed.digestReported = false;
  float* const destinations[] = {SynthOutput, EnvelopeRecording[0]};
  std::string error;
  if (!startBlockWorker(kSongWorkerScript, destinations, 2, blockArrived, workerStopped, &error))
    renderInSlices(error);
}

void reportSongWhenComplete() {
  if (feed.digestReported || synthFramesDone() < kSongFrames) return;
  feed.digestReported = true;
  reportBlockDigest(AudioBlock{{kSampleRate, 2}, SynthOutput, kSongFrames, synthFramesDone});
}

void stopSongFeed() { stopBlockWorker(); }
