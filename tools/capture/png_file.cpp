#include "tools/capture/png_file.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "tools/capture/staged_output.h"

bool writePng(int descriptor, const std::string& name, const uint8_t* rgb, int width, int height,
              std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  // Filters chosen for speed: a quarter of the time for a fifth more bytes
  // (a capture writes thousands of these).
  image.flags = PNG_IMAGE_FLAG_FAST;
  // Encoded in memory, then written here: a failed write is reported with
  // the system's reason.
  std::vector<uint8_t> png(PNG_IMAGE_PNG_SIZE_MAX(image));
  png_alloc_size_t size = png.size();
  if (png_image_write_to_memory(&image, png.data(), &size, 0, rgb, width * 3, nullptr) == 0) {
    *error = "cannot encode '" + name + "' as PNG: " + image.message;
    png_image_free(&image);
    return false;
  }
  return writeAll(descriptor, name, png.data(), size, error);
}

namespace {

bool beginPngRead(png_image& image, const std::string& path, std::string* error) {
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) != 0) return true;
  *error = "cannot read '" + path + "' as PNG: " + image.message;
  png_image_free(&image);
  return false;
}

}  // namespace

bool readPngSize(const std::string& path, int* width, int* height, std::string* error) {
  png_image image;
  if (!beginPngRead(image, path, error)) return false;
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  png_image_free(&image);
  return true;
}

bool readPngRgba(const std::string& path, int width, int height, uint8_t* rgba, std::string* error) {
  png_image image;
  if (!beginPngRead(image, path, error)) return false;
  if (image.width != static_cast<png_uint_32>(width) || image.height != static_cast<png_uint_32>(height)) {
    *error = "'" + path + "' is " + std::to_string(image.width) + "x" + std::to_string(image.height) + ", not " +
             std::to_string(width) + "x" + std::to_string(height);
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  if (png_image_finish_read(&image, nullptr, rgba, 0, nullptr) != 0) return true;
  *error = "cannot read '" + path + "' as PNG: " + image.message;
  png_image_free(&image);
  return false;
}
