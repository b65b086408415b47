#include "platform/truetype_file.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

namespace {

constexpr size_t kLargestFontFile = size_t{64} << 20;
#ifdef _WIN32
constexpr char kSeparator[] = "\\";
#else
constexpr char kSeparator[] = "/";
#endif

bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.clear();
  unsigned char chunk[16384];
  bool complete = false;
  while (bytes.size() <= kLargestFontFile) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, file);
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) {
      complete = std::ferror(file) == 0;
      break;
    }
  }
  std::fclose(file);
  return complete && bytes.size() <= kLargestFontFile;
}

uint32_t bigEndian(const unsigned char* at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | at[i];
  return value;
}

// A TrueType file whose every table lies wholly inside the file: a font cut
// short anywhere fails here, even where a rasteriser would quietly skip the
// damaged table.
bool trueTypeTablesComplete(const std::vector<unsigned char>& bytes) {
  const size_t size = bytes.size();
  if (size < 12) return false;
  const uint32_t version = bigEndian(bytes.data(), 4);
  if (version != 0x00010000u && version != 0x74727565u /* 'true' */) return false;
  const size_t tables = bigEndian(bytes.data() + 4, 2);
  if (tables == 0 || 12 + 16 * tables > size) return false;
  for (size_t t = 0; t < tables; ++t) {
    const unsigned char* record = bytes.data() + 12 + 16 * t;
    const size_t offset = bigEndian(record + 8, 4);
    const size_t length = bigEndian(record + 12, 4);
    if (offset > size || length > size - offset) return false;
  }
  return true;
}

}  // namespace

bool loadTrueTypeFile(const std::string& name, const std::string& programFolder, std::string& path,
                      std::vector<unsigned char>& bytes, std::string& problem) {
  path.clear();
  if (exists(name)) {
    path = name;
  } else if (!name.empty() && name.find_first_of("/\\") == std::string::npos && !programFolder.empty() &&
             exists(programFolder + kSeparator + name)) {
    path = programFolder + kSeparator + name;
  }
  if (name.empty() || path.empty()) {
    problem = name + ": no such file in the working directory or beside the program";
    return false;
  }
  if (!readWholeFile(path, bytes)) {
    problem = path + ": cannot be read";
    return false;
  }
  if (!trueTypeTablesComplete(bytes)) {
    problem = path + ": not a complete TrueType font";
    return false;
  }
  return true;
}
