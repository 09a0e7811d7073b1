#pragma once

// Processing of bitmaps as plain functions; the view and the viewer wrap them.
//
//   QImage r = image::rotated(img, 30.0, Qt::white);   // 30 degrees anticlockwise, canvas grows
//   QImage q = image::rotatedQuarterTurns(img, -1);    // 90 degrees clockwise, lossless
//   QImage h = image::flippedHorizontally(img);
//
// Angles are in degrees, positive anticlockwise. Null images come back null.

#include <QImage>

class QColor;
class QSize;

namespace image {

// Rotates by any angle. The canvas grows to hold the whole rotated image and the corners
// are filled with `background`. Whole quarter turns are exact and keep the pixel format;
// other angles are resampled bilinearly (fast antialiasing) unless `antialias` is false.
QImage rotated(const QImage& source, double degrees, const QColor& background,
               bool antialias = true);

// The canvas size `rotated` gives for an image of `size`.
QSize rotatedSize(const QSize& size, double degrees);

// Exact rotation by quarter turns (positive anticlockwise), any count.
QImage rotatedQuarterTurns(const QImage& source, int quarterTurns);

QImage flippedHorizontally(const QImage& source);   // mirror left-right
QImage flippedVertically(const QImage& source);     // mirror top-bottom

}  // namespace image
