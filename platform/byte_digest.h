// The FNV-1a 64 digest of a run of bytes: one number that says whether two
// renders, two builds or two platforms made the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint64_t byteDigest(const void* data, size_t count) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  uint64_t hash = 0xcbf29ce484222325ull;
  for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
  return hash;
}
