#include "tools/capture/video_frames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr uint64_t kLongestIndex = 256u << 20;  // an MP4 index read whole at most
constexpr uint64_t kUnknownSize = ~uint64_t{0};

struct Source {
  int file;
  uint64_t size;
};

bool readAt(const Source& source, uint64_t at, void* bytes, size_t count) {
  if (at > source.size || count > source.size - at) return false;
  return pread(source.file, bytes, count, static_cast<off_t>(at)) == static_cast<ssize_t>(count);
}

uint64_t bigEndian(const unsigned char* at, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | at[i];
  return value;
}

// ---- MP4 and QuickTime: boxes of a 32-bit (or 64-bit) size and a tag.

struct Box {
  uint64_t start, end;  // the box's contents
  char tag[5];
};

// The boxes in [begin, end) of `bytes`.
std::vector<Box> boxesIn(const std::vector<unsigned char>& bytes, uint64_t begin, uint64_t end) {
  std::vector<Box> boxes;
  while (begin + 8 <= end) {
    uint64_t size = bigEndian(&bytes[begin], 4);
    uint64_t header = 8;
    if (size == 1 && begin + 16 <= end) {
      size = bigEndian(&bytes[begin + 8], 8);
      header = 16;
    } else if (size == 0) {
      size = end - begin;
    }
    if (size < header || size > end - begin) break;
    Box box = {begin + header, begin + size, {}};
    std::memcpy(box.tag, &bytes[begin + 4], 4);
    boxes.push_back(box);
    begin += size;
  }
  return boxes;
}

const Box* child(const std::vector<Box>& boxes, const char* tag) {
  for (const Box& box : boxes)
    if (std::memcmp(box.tag, tag, 4) == 0) return &box;
  return nullptr;
}

bool countMp4Frames(const Source& source, uint32_t* frames, std::string* error) {
  // The top-level boxes, read by their headers; the index (moov) read whole.
  std::vector<unsigned char> moov;
  for (uint64_t at = 0; at + 8 <= source.size;) {
    unsigned char header[16];
    if (!readAt(source, at, header, 8)) break;
    uint64_t size = bigEndian(header, 4), headerSize = 8;
    if (size == 1 && readAt(source, at + 8, header + 8, 8)) {
      size = bigEndian(header + 8, 8);
      headerSize = 16;
    } else if (size == 0) {
      size = source.size - at;
    }
    if (size < headerSize || size > source.size - at) break;
    if (std::memcmp(header + 4, "moov", 4) == 0 && size - headerSize <= kLongestIndex) {
      moov.resize(size - headerSize);
      if (!readAt(source, at + headerSize, moov.data(), moov.size())) moov.clear();
      break;
    }
    at += size;
  }
  if (moov.empty()) {
    *error = "it has no index of its frames (no moov box)";
    return false;
  }
  for (const Box& trak : boxesIn(moov, 0, moov.size())) {
    if (std::memcmp(trak.tag, "trak", 4) != 0) continue;
    const std::vector<Box> trakBoxes = boxesIn(moov, trak.start, trak.end);
    const Box* mdia = child(trakBoxes, "mdia");
    if (mdia == nullptr) continue;
    const std::vector<Box> mdiaBoxes = boxesIn(moov, mdia->start, mdia->end);
    const Box* hdlr = child(mdiaBoxes, "hdlr");
    const Box* minf = child(mdiaBoxes, "minf");
    if (hdlr == nullptr || minf == nullptr || hdlr->end - hdlr->start < 12 ||
        std::memcmp(&moov[hdlr->start + 8], "vide", 4) != 0)
      continue;
    const std::vector<Box> minfBoxes = boxesIn(moov, minf->start, minf->end);
    const Box* stbl = child(minfBoxes, "stbl");
    if (stbl == nullptr) break;
    const std::vector<Box> stblBoxes = boxesIn(moov, stbl->start, stbl->end);
    const Box* sizes = child(stblBoxes, "stsz");
    if (sizes == nullptr) sizes = child(stblBoxes, "stz2");
    if (sizes == nullptr || sizes->end - sizes->start < 12) break;
    *frames = static_cast<uint32_t>(bigEndian(&moov[sizes->start + 8], 4));
    return true;
  }
  *error = "it has no video track";
  return false;
}

// ---- Matroska: EBML elements of a variable-length ID and size.

constexpr uint32_t kSegment = 0x18538067, kTracks = 0x1654AE6B, kTrackEntry = 0xAE, kTrackNumber = 0xD7,
                   kTrackType = 0x83, kCluster = 0x1F43B675, kBlockGroup = 0xA0, kBlock = 0xA1, kSimpleBlock = 0xA3;
constexpr uint64_t kVideoTrackType = 1;

// A variable-length number at `at`: its value (with the length marker kept
// for IDs), and its length. False at the file's end or for a bad first byte.
bool readNumber(const Source& source, uint64_t at, bool keepMarker, uint64_t* value, int* length) {
  unsigned char bytes[8];
  if (!readAt(source, at, bytes, 1) || bytes[0] == 0) return false;
  *length = 1;
  while (!(bytes[0] & (0x80 >> (*length - 1)))) ++*length;
  if (*length > 8 || (*length > 1 && !readAt(source, at + 1, bytes + 1, *length - 1))) return false;
  uint64_t number = keepMarker ? bytes[0] : bytes[0] & (0xFF >> *length);
  bool allOnes = (bytes[0] & (0xFF >> *length)) == (0xFF >> *length);
  for (int i = 1; i < *length; ++i) {
    number = number << 8 | bytes[i];
    allOnes = allOnes && bytes[i] == 0xFF;
  }
  *value = !keepMarker && allOnes ? kUnknownSize : number;
  return true;
}

struct Element {
  uint64_t id, start, end;  // the element's contents
};

bool readElement(const Source& source, uint64_t at, uint64_t limit, Element* element) {
  uint64_t size = 0;
  int idLength = 0, sizeLength = 0;
  if (!readNumber(source, at, true, &element->id, &idLength) ||
      !readNumber(source, at + idLength, false, &size, &sizeLength))
    return false;
  element->start = at + idLength + sizeLength;
  // Only a segment may leave its size open: it lasts to the file's end.
  if (size == kUnknownSize && element->id == kSegment) size = limit - element->start;
  if (size == kUnknownSize || element->start > limit || size > limit - element->start) return false;
  element->end = element->start + size;
  return true;
}

uint64_t unsignedValue(const Source& source, const Element& element) {
  unsigned char bytes[8] = {};
  const uint64_t size = element.end - element.start;
  if (size == 0 || size > 8 || !readAt(source, element.start, bytes, size)) return 0;
  return bigEndian(bytes, static_cast<int>(size));
}

struct MatroskaCount {
  uint64_t videoTrack = 0;
  std::vector<uint64_t> blockTracks;  // the track of every block, in order
};

// Walks the elements in [at, end), into the ones that hold what counts.
bool walkMatroska(const Source& source, uint64_t at, uint64_t end, MatroskaCount& count, uint64_t* trackNumber,
                  uint64_t* trackType) {
  while (at < end) {
    Element element;
    if (!readElement(source, at, end, &element)) return false;
    const uint64_t id = element.id;
    if (id == kSegment || id == kTracks || id == kCluster || id == kBlockGroup) {
      if (!walkMatroska(source, element.start, element.end, count, trackNumber, trackType)) return false;
    } else if (id == kTrackEntry) {
      uint64_t number = 0, type = 0;
      if (!walkMatroska(source, element.start, element.end, count, &number, &type)) return false;
      if (type == kVideoTrackType && count.videoTrack == 0) count.videoTrack = number;
    } else if (id == kTrackNumber && trackNumber != nullptr) {
      *trackNumber = unsignedValue(source, element);
    } else if (id == kTrackType && trackType != nullptr) {
      *trackType = unsignedValue(source, element);
    } else if (id == kSimpleBlock || id == kBlock) {
      uint64_t track = 0;
      int length = 0;
      if (!readNumber(source, element.start, false, &track, &length)) return false;
      count.blockTracks.push_back(track);
    }
    at = element.end;
  }
  return true;
}

bool countMatroskaFrames(const Source& source, uint32_t* frames, std::string* error) {
  MatroskaCount count;
  if (!walkMatroska(source, 0, source.size, count, nullptr, nullptr)) {
    *error = "its elements are cut short or malformed";
    return false;
  }
  if (count.videoTrack == 0) {
    *error = "it has no video track";
    return false;
  }
  uint32_t blocks = 0;
  for (const uint64_t track : count.blockTracks) blocks += track == count.videoTrack ? 1 : 0;
  *frames = blocks;
  return true;
}

}  // namespace

bool countVideoFrames(const std::string& path, uint32_t* frames, std::string* error) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info;
  if (file < 0 || fstat(file, &info) != 0) {
    *error = std::strerror(errno);
    if (file >= 0) close(file);
    return false;
  }
  const Source source = {file, static_cast<uint64_t>(info.st_size)};
  unsigned char start[8] = {};
  bool counted = false;
  if (readAt(source, 0, start, 4) && bigEndian(start, 4) == 0x1A45DFA3) {
    counted = countMatroskaFrames(source, frames, error);
  } else if (readAt(source, 4, start + 4, 4) && (std::memcmp(start + 4, "ftyp", 4) == 0 ||
                                                 std::memcmp(start + 4, "moov", 4) == 0 ||
                                                 std::memcmp(start + 4, "mdat", 4) == 0 ||
                                                 std::memcmp(start + 4, "wide", 4) == 0)) {
    counted = countMp4Frames(source, frames, error);
  } else {
    *error = "it is neither an MP4, QuickTime nor Matroska file";
  }
  close(file);
  return counted;
}
