#pragma once

// Pixel formats as the information panel and the status bar describe them.
//
//   image::PixelFormat f = doc.pixelFormat;            // from loadImage(): the file's format
//   statusText = QString::number(f.bitsPerPixel) + "Bit";
//   colour     = image::colourName(f.kind);            // "256色", "真彩色32位", ...
//
// A bitmap is classified the way the engine holds it: 1-bit, 8-bit palette, 8-bit grey,
// 16-bit grey, 24-bit colour (colour with 8 bits per channel, with or without alpha), or
// other (deeper colour, floating point). The named kinds have 1, 8, 8, 16 and 24 bits per
// pixel; "other" carries the depth of the data (32 for floating point).

#include <QString>

class QImage;

namespace image {

enum class PixelKind { None, OneBit, Palette8, Grey8, Grey16, Rgb24, Other };

struct PixelFormat {
    PixelKind kind = PixelKind::None;
    int bitsPerPixel = 0;

    bool operator==(const PixelFormat&) const = default;
};

// The format of a kind with its fixed depth; for Other give the depth.
PixelFormat pixelFormatFor(PixelKind kind, int otherBits = 32);

// Classifies a decoded QImage (a null image is None).
PixelFormat pixelFormatOf(const QImage& image);

// The colour name shown beside the size: "16色" for 1-bit (sic, the system labels 1-bit
// images 16 colours), "256色" for 8-bit palette and grey, "增强色16位" for 16-bit grey,
// "真彩色32位" for 24-bit colour, empty text otherwise.
QString colourName(PixelKind kind);

}  // namespace image
