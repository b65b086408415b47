// Reading back what the capture wrote: PNG pictures and whole files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The picture as RGB, rows top to bottom; empty when it cannot be read.
std::vector<uint8_t> readPngRgb(const std::string& path, int* width, int* height);

// Every byte of the file; empty when it cannot be read.
std::vector<uint8_t> fileBytes(const std::string& path);
