#include "audio/RgbBitmap.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

namespace seaherald {

namespace {

constexpr int DotRun = 3;  // pixels on, then as many off

long long Cross(PixelPoint a, PixelPoint b, int x, int y) {
  return static_cast<long long>(b.x - a.x) * (y - a.y) -
         static_cast<long long>(b.y - a.y) * (x - a.x);
}

bool InsideOrOnEdge(std::span<const PixelPoint> corners, int x, int y) {
  bool anyPositive = false;
  bool anyNegative = false;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const long long side = Cross(corners[i], corners[(i + 1) % corners.size()], x, y);
    anyPositive = anyPositive || side > 0;
    anyNegative = anyNegative || side < 0;
  }
  return !(anyPositive && anyNegative);
}

}  // namespace

RgbBitmap::RgbBitmap(int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("bitmap size must be positive");
  bytes_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
}

bool RgbBitmap::Contains(int x, int y) const {
  return x >= 0 && y >= 0 && x < width_ && y < height_;
}

Rgb RgbBitmap::Pixel(int x, int y) const {
  if (!Contains(x, y)) throw std::out_of_range("pixel outside the bitmap");
  const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
  return Rgb{bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

void RgbBitmap::SetPixel(int x, int y, Rgb colour) {
  if (!Contains(x, y)) return;
  const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
  bytes_[at] = colour.red;
  bytes_[at + 1] = colour.green;
  bytes_[at + 2] = colour.blue;
}

void RgbBitmap::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, width_); ++x)
      SetPixel(x, y, colour);
  }
}

void RgbBitmap::VerticalLine(int x, int fromY, int toY, Rgb colour, bool dotted) {
  if (x < 0 || x >= width_ || fromY == toY) return;
  // Only the rows inside the picture are visited, so far-off end points cost nothing.
  const int direction = toY > fromY ? 1 : -1;
  const int first = direction > 0 ? std::max(fromY, 0) : std::min(fromY, height_ - 1);
  const int last = direction > 0 ? std::min(toY - 1, height_ - 1) : std::max(toY + 1, 0);
  for (int y = first; (last - y) * direction >= 0; y += direction) {
    const int step = (y - fromY) * direction;
    if (dotted && (step / DotRun) % 2 == 1) continue;
    SetPixel(x, y, colour);
  }
}

void RgbBitmap::FillConvexPolygon(std::span<const PixelPoint> corners, Rgb colour) {
  if (corners.empty()) return;
  const auto [minX, maxX] = std::minmax_element(
      corners.begin(), corners.end(), [](PixelPoint a, PixelPoint b) { return a.x < b.x; });
  const auto [minY, maxY] = std::minmax_element(
      corners.begin(), corners.end(), [](PixelPoint a, PixelPoint b) { return a.y < b.y; });
  for (int y = minY->y; y <= maxY->y; ++y) {
    for (int x = minX->x; x <= maxX->x; ++x) {
      if (InsideOrOnEdge(corners, x, y)) SetPixel(x, y, colour);
    }
  }
}

}  // namespace seaherald
