#include "visuals/scene_samples.h"

#include <vector>

#include "visuals/frame_resources.h"

GpuTexture* sampleTarget = nullptr;
GpuSurface* sampleSurface = nullptr;
QuadVertex sampleQuad[4] = {};

namespace {

GpuTexture* reducedTexture = nullptr;  // screen size, filled from the samples each frame
std::vector<uint8_t> sampleBytes;      // the sample target read back

}  // namespace

bool supersampling() { return rendererSettings.supersample > 1; }

bool createSampleTargets(std::string* error) {
  const int factor = rendererSettings.supersample;
  const int w = rendererSettings.width, h = rendererSettings.height;
  sampleTarget = createRenderTexture(w * factor, h * factor, error);
  if (sampleTarget) reducedTexture = createTexture(w, h, error);
  if (!reducedTexture) {
    *error = "could not make the supersampled scene's targets: " + *error;
    releaseSampleTargets();
    return false;
  }
  sampleSurface = textureSurface(sampleTarget);
  sampleBytes.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4u * static_cast<size_t>(factor * factor));
  const float sw = static_cast<float>(w * factor), sh = static_cast<float>(h * factor);
  const float low = rendererSettings.postProcess ? 0.0f : -1.0f;
  sampleQuad[0] = QuadVertex{0.0f, 0.0f, 0.0f, 1.0f, low, low};
  sampleQuad[1] = QuadVertex{sw, 0.0f, 0.0f, 1.0f, 1.0f, low};
  sampleQuad[2] = QuadVertex{0.0f, sh, 0.0f, 1.0f, low, 1.0f};
  sampleQuad[3] = QuadVertex{sw, sh, 0.0f, 1.0f, 1.0f, 1.0f};
  return true;
}

void releaseSampleTargets() {
  releaseTexture(reducedTexture);
  releaseTexture(sampleTarget);
  reducedTexture = sampleTarget = nullptr;
  sampleSurface = nullptr;
  sampleBytes = {};
  for (QuadVertex& vertex : sampleQuad) vertex = QuadVertex{};
}

void boxReduce(const uint8_t* samples, int width, int height, int factor, uint32_t* texels, int pitch) {
  const size_t sampleRow = static_cast<size_t>(width) * static_cast<size_t>(factor) * 4u;
  const uint32_t count = static_cast<uint32_t>(factor * factor);
  for (int y = 0; y < height; ++y) {
    uint32_t* out = texels + static_cast<size_t>(pitch) * static_cast<size_t>(y);
    const uint8_t* block = samples + sampleRow * static_cast<size_t>(y) * static_cast<size_t>(factor);
    for (int x = 0; x < width; ++x, block += 4 * factor) {
      uint32_t sum[4] = {};
      for (int sy = 0; sy < factor; ++sy) {
        const uint8_t* sample = block + sampleRow * static_cast<size_t>(sy);
        for (int sx = 0; sx < factor * 4; ++sx) sum[sx & 3] += sample[sx];
      }
      uint32_t mean[4];
      for (int c = 0; c < 4; ++c) mean[c] = (sum[c] + count / 2) / count;
      out[x] = mean[3] << 24 | mean[0] << 16 | mean[1] << 8 | mean[2];
    }
  }
}

void resolveSamples(GpuSurface* destination) {
  readSurface(sampleSurface, sampleBytes.data());
  int pitch = 0;
  uint32_t* texels = lockTexture(reducedTexture, &pitch, nullptr);
  if (!texels) return;  // a frame left wrong, as any failed draw
  boxReduce(sampleBytes.data(), rendererSettings.width, rendererSettings.height, rendererSettings.supersample,
            texels, pitch);
  unlockTexture(reducedTexture);
  setBlendMode(BlendMode::off);
  setRenderTarget(destination);
  setTexture(0, reducedTexture);
  drawQuad(fullQuad);
  setTexture(0, nullptr);
}
