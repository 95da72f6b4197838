#include "audio/RgbBitmap.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace seaherald {
namespace {

constexpr Rgb White{255, 255, 255};

int CountColour(const RgbBitmap& bitmap, Rgb colour) {
  int count = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x)
      count += bitmap.Pixel(x, y) == colour ? 1 : 0;
  }
  return count;
}

TEST(RgbBitmap, StoresPixelsAsRedGreenBlueRows) {
  RgbBitmap bitmap(4, 3);
  bitmap.SetPixel(1, 2, Rgb{10, 20, 30});
  const auto bytes = bitmap.Bytes();
  ASSERT_EQ(bytes.size(), 36u);
  EXPECT_EQ(bytes[(2 * 4 + 1) * 3], 10);
  EXPECT_EQ(bytes[(2 * 4 + 1) * 3 + 1], 20);
  EXPECT_EQ(bytes[(2 * 4 + 1) * 3 + 2], 30);
}

TEST(RgbBitmap, ClipsDrawingAndRejectsBadSizesAndReads) {
  RgbBitmap bitmap(5, 5);
  bitmap.SetPixel(-1, 0, White);
  bitmap.SetPixel(5, 0, White);
  bitmap.FillRect(-10, -10, 100, 100, White);
  EXPECT_EQ(CountColour(bitmap, White), 25);
  EXPECT_THROW(bitmap.Pixel(5, 0), std::out_of_range);
  EXPECT_THROW(RgbBitmap(0, 5), std::invalid_argument);
}

TEST(RgbBitmap, RectangleExcludesRightAndBottomEdges) {
  RgbBitmap bitmap(10, 10);
  bitmap.FillRect(2, 3, 5, 7, White);
  EXPECT_EQ(CountColour(bitmap, White), 3 * 4);
  EXPECT_EQ(bitmap.Pixel(4, 6), White);
  EXPECT_EQ(bitmap.Pixel(5, 6), Rgb{});
  EXPECT_EQ(bitmap.Pixel(4, 7), Rgb{});
}

TEST(RgbBitmap, VerticalLineLeavesOutItsEndPointInBothDirections) {
  RgbBitmap bitmap(3, 10);
  bitmap.VerticalLine(0, 9, 4, White);
  bitmap.VerticalLine(2, 1, 4, White);
  EXPECT_EQ(bitmap.Pixel(0, 4), Rgb{});
  EXPECT_EQ(bitmap.Pixel(0, 5), White);
  EXPECT_EQ(bitmap.Pixel(0, 9), White);
  EXPECT_EQ(bitmap.Pixel(2, 1), White);
  EXPECT_EQ(bitmap.Pixel(2, 3), White);
  EXPECT_EQ(bitmap.Pixel(2, 4), Rgb{});
  EXPECT_EQ(CountColour(bitmap, White), 5 + 3);
}

TEST(RgbBitmap, FarOffEndPointsAreClippedNotWalked) {
  RgbBitmap bitmap(1, 4);
  bitmap.VerticalLine(0, 4, -2000000000, White);
  EXPECT_EQ(CountColour(bitmap, White), 4);
}

TEST(RgbBitmap, DottedLineGoesThreeOnThreeOff) {
  RgbBitmap bitmap(1, 14);
  bitmap.VerticalLine(0, 0, 14, White, true);
  for (int y = 0; y < 14; ++y) {
    EXPECT_EQ(bitmap.Pixel(0, y) == White, (y / 3) % 2 == 0) << "row " << y;
  }
}

TEST(RgbBitmap, PolygonCoversItsInsideAndOutline) {
  RgbBitmap bitmap(10, 10);
  const std::array<PixelPoint, 3> triangle{{{1, 3}, {4, 0}, {4, 6}}};
  bitmap.FillConvexPolygon(triangle, White);
  EXPECT_EQ(CountColour(bitmap, White), 1 + 3 + 5 + 7);
  EXPECT_EQ(bitmap.Pixel(1, 3), White);
  EXPECT_EQ(bitmap.Pixel(1, 2), Rgb{});
  EXPECT_EQ(bitmap.Pixel(2, 1), Rgb{});
  EXPECT_EQ(bitmap.Pixel(3, 1), White);
}

}  // namespace
}  // namespace seaherald
