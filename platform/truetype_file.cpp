#include "platform/truetype_file.h"

#include <sys/stat.h>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/failure_text.h"

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

// Opens a regular file only: a FIFO or a device of the font's name would
// block the open or the reads for ever. Where the system allows, the open
// never waits and what it opened is checked before the first read.
FILE* openRegularFile(const std::string& path, std::string& why) {
#ifdef _WIN32
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    why = "not a regular file";
    return nullptr;
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) why = std::strerror(errno);
  return file;
#else
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    why = std::strerror(errno);
    return nullptr;
  }
  struct stat info;
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    why = "not a regular file";
    close(descriptor);
    return nullptr;
  }
  FILE* file = fdopen(descriptor, "rb");
  if (!file) {
    why = std::strerror(errno);
    close(descriptor);
  }
  return file;
#endif
}

bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& why) {
  FILE* file = openRegularFile(path, why);
  if (!file) return false;
  bytes.clear();
  unsigned char chunk[16384];
  bool complete = false;
  while (bytes.size() <= kLargestFontFile) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, file);
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) {
      complete = std::ferror(file) == 0;
      if (!complete) why = std::strerror(errno);
      break;
    }
  }
  std::fclose(file);
  if (bytes.size() > kLargestFontFile) why = "larger than any font";
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

// The offset and length of the table `tag` in a file whose table records
// were checked; false when there is none.
bool findTable(const std::vector<unsigned char>& bytes, const char* tag, size_t& offset, size_t& length) {
  const size_t tables = bigEndian(bytes.data() + 4, 2);
  for (size_t t = 0; t < tables; ++t) {
    const unsigned char* record = bytes.data() + 12 + 16 * t;
    if (std::memcmp(record, tag, 4) != 0) continue;
    offset = bigEndian(record + 8, 4);
    length = bigEndian(record + 12, 4);
    return true;
  }
  return false;
}

// Every glyph that the glyph location table names lies inside the glyph
// table, and so inside the file: a rasteriser would otherwise read past
// the file's end or quietly draw nothing.
bool glyphsInsideFile(const std::vector<unsigned char>& bytes) {
  size_t head = 0, headLength = 0, maxp = 0, maxpLength = 0, loca = 0, locaLength = 0, glyf = 0, glyfLength = 0;
  if (!findTable(bytes, "head", head, headLength) || !findTable(bytes, "maxp", maxp, maxpLength) ||
      !findTable(bytes, "loca", loca, locaLength) || !findTable(bytes, "glyf", glyf, glyfLength) ||
      headLength < 54 || maxpLength < 6)
    return false;
  // indexToLocFormat: 0 for offsets / 2 in 16 bits, 1 for offsets in 32 bits.
  const bool longOffsets = bigEndian(bytes.data() + head + 50, 2) != 0;
  const size_t entry = longOffsets ? 4 : 2;
  const size_t glyphs = bigEndian(bytes.data() + maxp + 4, 2);
  if (locaLength / entry < glyphs + 1) return false;
  for (size_t g = 0; g <= glyphs; ++g) {
    const size_t at = bigEndian(bytes.data() + loca + g * entry, static_cast<int>(entry));
    if ((longOffsets ? at : 2 * at) > glyfLength) return false;
  }
  return true;
}

}  // namespace

std::string locateTrueTypeFile(const std::string& name, const std::string& programFolder) {
  if (name.empty()) return {};
  if (exists(name)) return name;
  if (name.find_first_of("/\\") != std::string::npos || programFolder.empty()) return {};
  const std::string beside = programFolder + kSeparator + name;
  return exists(beside) ? beside : std::string();
}

bool loadTrueTypeFile(const std::string& name, const std::string& programFolder, std::string& path,
                      std::vector<unsigned char>& bytes, std::string* error) {
  path = locateTrueTypeFile(name, programFolder);
  if (path.empty()) {
    *error = platformFailure(name, "no such file in the working directory or beside the program");
    return false;
  }
  std::string why;
  if (!readWholeFile(path, bytes, why)) {
    *error = platformFailure(path + ": cannot be read", why);
    return false;
  }
  return checkTrueTypeBytes(bytes, path, error);
}

bool checkTrueTypeBytes(const std::vector<unsigned char>& bytes, const std::string& path, std::string* error) {
  if (!trueTypeTablesComplete(bytes)) {
    *error = platformFailure(path, "not a complete TrueType font");
    return false;
  }
  if (!glyphsInsideFile(bytes)) {
    *error = platformFailure(path, "not a complete TrueType font: its glyphs lie outside the file");
    return false;
  }
  return checkTrueTypeMetrics(bytes, path, error);
}

namespace {

// The table `tag` of a complete file: its first byte and length, or null.
const unsigned char* tableAt(const std::vector<unsigned char>& bytes, const char* tag, size_t* length) {
  size_t offset = 0;
  return findTable(bytes, tag, offset, *length) ? bytes.data() + offset : nullptr;
}

int16_t signedWord(const unsigned char* at) { return static_cast<int16_t>(bigEndian(at, 2)); }

}  // namespace

bool trueTypeFaceMetrics(const std::vector<unsigned char>& bytes, FaceMetrics& found, std::string* error) {
  std::string ignored;
  std::string& why = error != nullptr ? *error : ignored;
  if (!trueTypeTablesComplete(bytes)) {
    why = "not a complete TrueType font";
    return false;
  }
  FaceMetrics metrics = {};
  size_t headLength = 0, hheaLength = 0, os2Length = 0;
  const unsigned char* head = tableAt(bytes, "head", &headLength);
  const unsigned char* hhea = tableAt(bytes, "hhea", &hheaLength);
  if (!head || headLength < 54 || !hhea || hheaLength < 36) {
    why = "its head or hhea table is missing or short";
    return false;
  }
  metrics.unitsPerEm = bigEndian(head + 18, 2);
  metrics.cellAscent = signedWord(hhea + 4);
  metrics.cellDescent = -signedWord(hhea + 6);
  metrics.averageWidth = bigEndian(hhea + 10, 2);
  const unsigned char* os2 = tableAt(bytes, "OS/2", &os2Length);
  if (os2 && os2Length >= 78 && bigEndian(os2 + 74, 2) + bigEndian(os2 + 76, 2) > 0) {
    metrics.cellAscent = bigEndian(os2 + 74, 2);
    metrics.cellDescent = bigEndian(os2 + 76, 2);
    if (signedWord(os2 + 2) > 0) metrics.averageWidth = signedWord(os2 + 2);
  }
  if (metrics.unitsPerEm <= 0) {
    why = "its units per em are 0";
    return false;
  }
  found = metrics;
  return true;
}

bool checkTrueTypeMetrics(const std::vector<unsigned char>& bytes, const std::string& path, std::string* error) {
  FaceMetrics metrics = {};
  std::string why;
  size_t hheaLength = 0;
  const unsigned char* hhea = tableAt(bytes, "hhea", &hheaLength);
  if (!trueTypeFaceMetrics(bytes, metrics, &why)) {
    *error = platformFailure(path, why);
    return false;
  }
  if (hhea == nullptr || bigEndian(hhea + 10, 2) == 0 || metrics.averageWidth <= 0) {
    why = "its characters advance by nothing";
  } else if (metrics.cellAscent < 1 || metrics.cellAscent + metrics.cellDescent < metrics.unitsPerEm / 2) {
    // Text is sized by its line: glyphs would outgrow a line shorter than
    // half an em many times over.
    why = "its line (ascent plus descent) is shorter than half an em";
  } else {
    return true;
  }
  *error = platformFailure(path, why + ": text cannot be drawn with it");
  return false;
}

std::string trueTypeFamily(const std::vector<unsigned char>& bytes) {
  if (!trueTypeTablesComplete(bytes)) return {};
  size_t length = 0;
  const unsigned char* name = tableAt(bytes, "name", &length);
  if (!name || length < 6) return {};
  const size_t count = bigEndian(name + 2, 2);
  const size_t strings = bigEndian(name + 4, 2);
  for (size_t r = 0; r < count && 6 + 12 * (r + 1) <= length; ++r) {
    const unsigned char* record = name + 6 + 12 * r;
    const uint32_t platform = bigEndian(record, 2), nameId = bigEndian(record + 6, 2);
    const size_t size = bigEndian(record + 8, 2), offset = strings + bigEndian(record + 10, 2);
    if (nameId != 1 || offset > length || size > length - offset) continue;
    // Windows names are UTF-16 big-endian (ASCII family names read as
    // every second byte), Macintosh names one byte a character.
    std::string family;
    if (platform == 3) {
      for (size_t i = 1; i < size; i += 2) family += static_cast<char>(name[offset + i]);
    } else if (platform == 1) {
      family.assign(reinterpret_cast<const char*>(name + offset), size);
    } else {
      continue;
    }
    return family;
  }
  return {};
}
