// What the driver reported since the last look, as one string to compare
// with "": empty when it reported nothing.
#pragma once

#include <string>

#include "platform/gpu.h"

inline std::string gpuErrors() {
  std::string error;
  return checkGpuErrors(&error) ? std::string() : error;
}
