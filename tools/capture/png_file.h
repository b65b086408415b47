// PNG output of the capture tool.
#pragma once

#include <cstdint>
#include <string>

// Writes an 8-bit RGB picture (rows top to bottom, three bytes a pixel, no
// padding) as PNG to the descriptor. False with the reason, naming the file
// as `name`, when it cannot be encoded or written.
bool writePng(int descriptor, const std::string& name, const uint8_t* rgb, int width, int height,
              std::string* error);
