// The float WAVE writer: header fields byte by byte, the samples after it.
#include "tools/capture/wav_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

uint32_t u32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
std::string tag(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p), 4); }

TEST(FloatWavHeader, ChunksOfAStereoSong) {
  const auto h = floatWavHeader(7688496, 2, 44100);
  const uint32_t data = 7688496u * 8;
  EXPECT_EQ(tag(&h[0]), "RIFF");
  EXPECT_EQ(u32(&h[4]), 50 + data);
  EXPECT_EQ(tag(&h[8]), "WAVE");
  EXPECT_EQ(tag(&h[12]), "fmt ");
  EXPECT_EQ(u32(&h[16]), 18u);
  EXPECT_EQ(u16(&h[20]), 3);  // IEEE float
  EXPECT_EQ(u16(&h[22]), 2);
  EXPECT_EQ(u32(&h[24]), 44100u);
  EXPECT_EQ(u32(&h[28]), 352800u);
  EXPECT_EQ(u16(&h[32]), 8);
  EXPECT_EQ(u16(&h[34]), 32);
  EXPECT_EQ(u16(&h[36]), 0);
  EXPECT_EQ(tag(&h[38]), "fact");
  EXPECT_EQ(u32(&h[42]), 4u);
  EXPECT_EQ(u32(&h[46]), 7688496u);
  EXPECT_EQ(tag(&h[50]), "data");
  EXPECT_EQ(u32(&h[54]), data);
  EXPECT_EQ(data, 61507968u);
}

// The file as writeFloatWav leaves it in a fresh temporary file.
std::vector<uint8_t> writtenWav(const std::vector<float>& samples, uint32_t soundFrames, uint32_t frames) {
  std::FILE* file = std::tmpfile();
  std::string error;
  EXPECT_TRUE(writeFloatWav(fileno(file), "test.wav", samples.data(), soundFrames, frames, 2, 44100, &error))
      << error;
  std::vector<uint8_t> bytes(kWavHeaderSize + size_t{frames} * 8 + 1);
  std::rewind(file);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  return bytes;
}

TEST(FloatWavFile, HeaderThenTheSamplesAsTheyAre) {
  const std::vector<float> samples = {0.0f, -1.0f, 0.5f, 1.0f, -0.25f, 0.125f};
  const std::vector<uint8_t> bytes = writtenWav(samples, 3, 3);
  ASSERT_EQ(bytes.size(), kWavHeaderSize + 24);
  const auto header = floatWavHeader(3, 2, 44100);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  EXPECT_EQ(std::memcmp(bytes.data() + kWavHeaderSize, samples.data(), 24), 0);
}

TEST(FloatWavFile, SilenceFillsThePastTheSound) {
  const std::vector<float> samples = {0.5f, -0.5f, 0.25f, -0.25f};
  const std::vector<uint8_t> bytes = writtenWav(samples, 2, 3000);
  ASSERT_EQ(bytes.size(), kWavHeaderSize + 24000);
  const auto header = floatWavHeader(3000, 2, 44100);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  EXPECT_EQ(std::memcmp(bytes.data() + kWavHeaderSize, samples.data(), 16), 0);
  EXPECT_TRUE(std::all_of(bytes.begin() + kWavHeaderSize + 16, bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST(FloatWavFile, AFailedWriteNamesTheFileAndTheSystemsReason) {
  const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  const std::vector<float> samples(64);
  std::string error;
  EXPECT_FALSE(writeFloatWav(full, "song.wav", samples.data(), 32, 32, 2, 44100, &error));
  EXPECT_EQ(error, "writing 'song.wav' failed: No space left on device");
  close(full);
}

}  // namespace
