#pragma once

#include <cstdint>

// Nanoseconds on a monotonic high-resolution clock.
uint64_t monotonicNanoseconds();
