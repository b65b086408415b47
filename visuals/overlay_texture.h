// The overlay picture as a texture: opaque wherever a pixel is not pure black.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct GpuTexture;

extern GpuTexture* overlayTexture;

// Converts `height` rows of three-byte pixels (rowBytes apart) into 32-bit
// texels A*2^24 + R*2^16 + G*2^8 + B, `pitch` texels apart; A is 255 unless
// the pixel is pure black, then 0.
void convertOverlayRows(const unsigned char* rgb, int width, int height, size_t rowBytes, uint32_t* texels,
                        int pitch);

// Creates `overlayTexture` from the built-in picture.
bool createOverlayTexture(std::string* error);
