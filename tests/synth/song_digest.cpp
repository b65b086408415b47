// Renders the shipped song and prints one line: the digests of
// SynthOutput's bytes and of EnvelopeRecording's bytes. The same program
// built for two platforms shows whether they agree. A line that cannot be
// written ends it with status 1 and the reason on stderr.
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "platform/byte_digest.h"

int main() {
  if (renderSong(SynthOutput) != 0) {
    std::fprintf(stderr, "song_digest: the song cannot be rendered\n");
    return 1;
  }
  errno = 0;
  const bool written = std::printf("song %016" PRIx64 " envelopes %016" PRIx64 "\n",
                                   byteDigest(SynthOutput, sizeof SynthOutput),
                                   byteDigest(EnvelopeRecording, sizeof EnvelopeRecording)) >= 0 &&
                       std::fflush(stdout) == 0;
  if (written) return 0;
  std::fprintf(stderr, "song_digest: writing the digests failed: %s\n", std::strerror(errno != 0 ? errno : EIO));
  return 1;
}
