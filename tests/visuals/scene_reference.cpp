#include "scene_reference.h"

#include <algorithm>
#include <cmath>

namespace {

struct V3 {
  float x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float length(V3 a) { return std::sqrt(dot(a, a)); }
V3 normalize(V3 a) { return a * (1.0f / length(a)); }

constexpr float kPi = 3.14159265f;

const float kPalette[8][3] = {
    {0.2f, 0.1f, 0.0f}, {0.2f, 0.2f, 0.1f}, {0.1f, 0.0f, 0.2f}, {0.2f, 0.0f, 0.1f},
    {0.1f, 0.2f, 0.2f}, {0.0f, 0.1f, 0.2f}, {0.0f, 0.2f, 0.1f}, {0.1f, 0.0f, 0.2f},
};

// Row vector (v, 0) times the upper 3x3 block of a row-major matrix.
V3 rowTimes(V3 v, const Matrix4& m, float sign) {
  return V3{v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0], v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]} *
         sign;
}

// Three plane rotations by the same angle, about x, then y, then z.
V3 rotate(V3 p, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  V3 r = p;
  const float y1 = r.y * c + r.z * s, z1 = r.z * c - r.y * s;
  r.y = y1;
  r.z = z1;
  const float x2 = r.x * c + r.z * s, z2 = r.z * c - r.x * s;
  r.x = x2;
  r.z = z2;
  const float x3 = r.x * c + r.y * s, y3 = r.y * c - r.x * s;
  r.x = x3;
  r.y = y3;
  return r;
}

void turn(float* px, float* py, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  const float x = *px * c - *py * s, y = *px * s + *py * c;
  *px = x;
  *py = y;
}

// Polar fold: rotate the point by a whole number of sectors of angle pi/R
// so that it lies within pi/(2R) of the positive x axis.
void fold(float* px, float* py, float order) {
  float ax = *px, ay = *py;
  turn(&ax, &ay, -kPi / (2.0f * order));
  const float n = std::floor(-std::atan2(ay, ax) / kPi * order);
  turn(px, py, n * kPi / order);
}

float hexPlate(float across, float side1, float side2, float outline, float half) {
  return std::max(std::fabs(across) - half,
                  std::max(std::fabs(side1) + 0.5f * std::fabs(side2), std::fabs(side2)) - outline);
}

float distanceField(V3 p, float t, bool textB, float* material) {
  p = rotate(p, t * 0.5f);
  p = rotate(p, t);
  const float order = 8.0f + 6.0f * std::cos(0.15f * t);
  const float period = 50.0f + 15.0f * std::sin(0.05f * t + 20.2f);
  const float half = textB ? period / 200.0f : period / 50.0f;
  fold(&p.x, &p.y, order);
  fold(&p.x, &p.z, order);
  p.x = std::fmod(std::clamp(p.x, -period, period) + 1000.0f, period) - period / 2.0f;
  // Plate one lies across y (outline in z, x), plate two across z (outline in x, y).
  if (!textB) {
    const float plates = std::min(hexPlate(p.y, p.z, p.x, 10.0f, half), hexPlate(p.z, p.x, p.y, 10.0f, half));
    *material = 0.0f;
    return std::max(plates, -(length(p) - period / 7.5f));
  }
  const float plates = std::min(hexPlate(p.y, p.z, p.x, 15.0f, half), hexPlate(p.z, p.x, p.y, 12.5f, half));
  const float octahedron = (std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z) - period / 15.0f) / 3.0f;
  const float product = std::min(std::max(plates, -(length(p) - period / 5.0f)), octahedron);
  *material = product == octahedron ? 2.0f : 0.0f;
  return product;
}

float smoothStepTo(float edge, float x) {
  const float y = std::clamp(x / edge, 0.0f, 1.0f);
  return y * y * (3.0f - 2.0f * y);
}

}  // namespace

ReferencePixel referenceScenePixel(const SceneReferenceInputs& in, float vx, float vy) {
  const bool b = in.postProcess;
  const float t = in.values.t, u = in.values.u, shake = in.values.e[0];
  const Matrix4& m = in.values.m;

  const V3 direction = b ? normalize(V3{vx - 0.5f, vy - 0.5f, 0.25f}) : normalize(V3{vx, vy, 1.0f});
  const V3 q = rowTimes(direction, m, 1.0f);
  const V3 light = rowTimes(V3{0.2f, 0.3f, 1.0f}, m, -1.0f);
  const V3 eye{0.0f, 0.0f, -22.0f};
  V3 p = b ? eye + q * 5.0f : eye + q * 3.0f;
  if (b) p.x += 5.0f;
  p.x += shake;
  p.y += shake;
  float r = 3.0f, steps = 0.0f, d = 1.0f, material = 0.0f;
  const float far = b ? std::clamp(6.0f * t, 0.0f, 60.0f) : 60.0f;

  for (int step = 0; step < 1000; ++step) {
    d = distanceField(p, t, b, &material);
    steps += 1.0f;
    p = p + q * d;
    r += d;
    if (d < 0.1f) {
      const float eps = 0.003f;
      float unused = 0.0f;
      const float dx = distanceField(p + V3{eps, 0, 0}, t, b, &unused);
      const float dy = distanceField(p + V3{0, eps, 0}, t, b, &unused);
      const float dz = distanceField(p + V3{0, 0, eps}, t, b, &unused);
      const float d0 = distanceField(p, t, b, &material);
      const V3 n = normalize(V3{dx - d0, dy - d0, dz - d0});

      const int first = static_cast<int>(std::trunc(std::fmod(u + 0.5f + material, 4.0f)));
      const int second = static_cast<int>(std::trunc(std::fmod(u + 4.5f + material, 4.0f))) + 4;
      const float distance = length(p - eye);
      const float nearness = distance / std::sqrt(distance * distance + far * far);
      const float mixing = (1.0f - nearness) * dot(n, light) * 0.5f + 0.5f;

      float fade = 1.0f;
      const float fadeStart = b ? 10.5f : 11.0f;
      if (u < 1.0f) fade = u;
      if (u > fadeStart) fade = 1.0f - (u - fadeStart);

      const V3 toward = V3{d, d, d} - p;
      const float specular = std::pow(std::clamp(dot(n, normalize(normalize(toward) + light)), 0.0f, 1.0f), 10.0f);

      float scale = (1.0f - r / far) * smoothStepTo(b ? 80.0f : 60.0f, steps) * (b ? 8.0f : 14.0f) * fade;
      if (b) scale *= 1.5f - 2.0f * std::sqrt((vx - 0.3f) * (vx - 0.3f) + (vy - 0.5f) * (vy - 0.5f));
      ReferencePixel out{{}, true};
      for (int c = 0; c < 3; ++c) {
        out.rgba[c] = (kPalette[first][c] * mixing + kPalette[second][c] * (1.0f - mixing) + specular) * scale;
      }
      out.rgba[3] = (1.0f + specular) * scale;
      return out;
    }
    if (r >= far) break;
  }
  return ReferencePixel{{0, 0, 0, 0}, false};
}

float quadCoordinate(bool postProcess, int pixel, int size) {
  const float centre = (static_cast<float>(pixel) + 0.5f) / static_cast<float>(size);
  return postProcess ? centre : centre * 2.0f - 1.0f;
}

std::vector<ReferencePixel> referenceSceneImage(const SceneReferenceInputs& in, int width, int height) {
  std::vector<ReferencePixel> image;
  image.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.push_back(referenceScenePixel(in, quadCoordinate(in.postProcess, x, width),
                                          quadCoordinate(in.postProcess, y, height)));
    }
  }
  return image;
}
