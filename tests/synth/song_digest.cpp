// Renders the shipped song and prints one line: the FNV-1a 64 digests of
// SynthOutput's bytes and of EnvelopeRecording's bytes. With a file name it
// also writes the song's floats there, raw, for a closer comparison.
// The same program built for two platforms shows whether they agree.
#include <cinttypes>
#include <cstdio>

#include "synth/render_song.h"
#include "synth/shared_buffers.h"

namespace {

uint64_t fnv1a64(const void* data, size_t count) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  uint64_t hash = 0xcbf29ce484222325ull;
  for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
  return hash;
}

}  // namespace

int main(int argc, char** argv) {
  renderSong(SynthOutput);
  std::printf("song %016" PRIx64 " envelopes %016" PRIx64 "\n", fnv1a64(SynthOutput, sizeof SynthOutput),
              fnv1a64(EnvelopeRecording, sizeof EnvelopeRecording));
  if (argc < 2) return 0;
  std::FILE* file = std::fopen(argv[1], "wb");
  const bool written = file && std::fwrite(SynthOutput, sizeof SynthOutput, 1, file) == 1;
  if (!file || std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "song_digest: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
