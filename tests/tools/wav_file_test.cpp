// The float WAVE writer: header fields byte by byte, the samples after it.
#include "tools/capture/wav_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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

TEST(FloatWavFile, HeaderThenTheSamplesAsTheyAre) {
  const std::string path = (std::filesystem::temp_directory_path() / "gm_wav_file_test.wav").string();
  const std::vector<float> samples = {0.0f, -1.0f, 0.5f, 1.0f, -0.25f, 0.125f};
  WavFile wav;
  std::string error;
  ASSERT_TRUE(openWavFile(wav, path, error)) << error;
  ASSERT_TRUE(writeFloatWav(wav, samples.data(), 3, 2, 44100, error)) << error;
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), kWavHeaderSize + 24);
  const auto header = floatWavHeader(3, 2, 44100);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  EXPECT_EQ(std::memcmp(bytes.data() + kWavHeaderSize, samples.data(), 24), 0);
  std::filesystem::remove(path);
}

TEST(FloatWavFile, SilenceFillsThePastTheSound) {
  const std::string path = (std::filesystem::temp_directory_path() / "gm_wav_padded_test.wav").string();
  const std::vector<float> samples = {0.5f, -0.5f, 0.25f, -0.25f};
  WavFile wav;
  std::string error;
  ASSERT_TRUE(openWavFile(wav, path, error)) << error;
  ASSERT_TRUE(writeFloatWavPadded(wav, samples.data(), 2, 100, 2, 44100, error)) << error;
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.size(), kWavHeaderSize + 800);
  const auto header = floatWavHeader(100, 2, 44100);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  EXPECT_EQ(std::memcmp(bytes.data() + kWavHeaderSize, samples.data(), 16), 0);
  EXPECT_TRUE(std::all_of(bytes.begin() + kWavHeaderSize + 16, bytes.end(), [](uint8_t b) { return b == 0; }));
  std::filesystem::remove(path);
}

TEST(FloatWavFile, UnwritablePathsAreNamedInTheError) {
  WavFile wav;
  std::string error;
  EXPECT_FALSE(openWavFile(wav, "/nonexistent-folder/song.wav", error));
  EXPECT_NE(error.find("cannot write '/nonexistent-folder/song.wav'"), std::string::npos) << error;
  EXPECT_EQ(wav.file, nullptr);
}

}  // namespace
