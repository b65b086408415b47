// Renders the shipped song and prints one line: the digests of
// SynthOutput's bytes and of EnvelopeRecording's bytes. The same program
// built for two platforms shows whether they agree.
#include <cinttypes>
#include <cstdio>

#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "platform/byte_digest.h"

int main() {
  renderSong(SynthOutput);
  std::printf("song %016" PRIx64 " envelopes %016" PRIx64 "\n", byteDigest(SynthOutput, sizeof SynthOutput),
              byteDigest(EnvelopeRecording, sizeof EnvelopeRecording));
  return 0;
}
