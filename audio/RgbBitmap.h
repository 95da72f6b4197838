#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace seaherald {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
};

// A small off-screen 24-bit picture, rows top to bottom, three bytes per pixel in red, green,
// blue order. Every drawing operation clips silently at the edges.
class RgbBitmap {
 public:
  RgbBitmap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb Pixel(int x, int y) const;
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

  void SetPixel(int x, int y, Rgb colour);
  // Right and bottom edges exclusive.
  void FillRect(int left, int top, int right, int bottom, Rgb colour);
  // Vertical line from (x, fromY) towards (x, toY), the end point excluded. With `dotted` the
  // pixels go three on, three off, counted from the start point.
  void VerticalLine(int x, int fromY, int toY, Rgb colour, bool dotted = false);
  // A convex polygon with its outline: every pixel whose position lies inside or on an edge.
  void FillConvexPolygon(std::span<const PixelPoint> corners, Rgb colour);

 private:
  bool Contains(int x, int y) const;

  int width_;
  int height_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace seaherald
