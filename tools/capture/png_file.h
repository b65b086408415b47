// PNG output of the capture tool.
#pragma once

#include <cstdint>
#include <string>

// Writes an 8-bit RGB picture (rows top to bottom, three bytes a pixel, no
// padding) as PNG to the descriptor. False with the reason, naming the file
// as `name`, when it cannot be encoded or written.
bool writePng(int descriptor, const std::string& name, const uint8_t* rgb, int width, int height,
              std::string* error);

// The width and height a PNG file declares, read from its header alone.
// False with the reason when it is no PNG file.
bool readPngSize(const std::string& path, int* width, int* height, std::string* error);

// The whole picture as 8-bit RGBA (alpha 255 where the file has none),
// rows top to bottom; it must be width x height. False with the reason.
bool readPngRgba(const std::string& path, int width, int height, uint8_t* rgba, std::string* error);
