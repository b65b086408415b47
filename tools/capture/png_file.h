// PNG output of the capture tool.
#pragma once

#include <cstdint>
#include <string>

// Writes an 8-bit RGB picture (rows top to bottom, three bytes a pixel, no
// padding) as a PNG file. False with a message on failure.
bool writePngFile(const char* path, const uint8_t* rgb, int width, int height, std::string* error);
