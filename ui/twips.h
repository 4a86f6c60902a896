#pragma once

#include <QRect>

namespace quorveno {

// The window is laid out in twips, 1440 to the inch; at 96 dots per inch
// that is 15 to the pixel. Every position, size and font size passes through
// here, so the whole layout can be scaled in this one place.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kTwipsPerPoint = 20;

constexpr int TwipsToPixels(int twips) {
  return (twips + (twips >= 0 ? kTwipsPerPixel / 2 : -kTwipsPerPixel / 2)) / kTwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

constexpr int PointsToPixels(double points) {
  return TwipsToPixels(static_cast<int>(points * kTwipsPerPoint + 0.5));
}

}  // namespace quorveno
