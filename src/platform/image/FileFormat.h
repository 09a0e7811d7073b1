#pragma once

// Image file formats known to the engine, and how a file's format is found.
//
//   image::FileFormat f = image::detectFormat(path);   // content first, extension second
//   image::FileFormat g = image::formatFromExtension("photo.JPE");  // Jpeg
//
// The content decides whenever the first bytes carry a signature (a PNG named .jpg is a
// PNG); formats without a signature (TGA, WBMP, raw fax) are taken from the extension.

#include <QString>

class QByteArray;

namespace image {

enum class FileFormat {
    Unknown,
    Jpeg, Png, Bmp, Gif, Tiff, Pcx, Ico, Cur, Tga, Pbm, Pgm, Ppm, Wbmp,
    Jp2,   // JPEG 2000 file format (.jp2)
    J2k,   // JPEG 2000 code stream (.j2k, .jpc, .j2c)
    Wmf, Emf,
    Fax,   // raw CCITT G3 fax (.fax, .g3n, .g3f) when the file is not a TIFF
};

// From the extension of a path or of a bare suffix ("jpg", ".jpg", "a/b.jpg").
FileFormat formatFromExtension(const QString& pathOrSuffix);

// From the first bytes of a file (give at least 64 when the file has them).
FileFormat formatFromContent(const QByteArray& head);

// Content first, then the extension; Unknown when neither tells.
FileFormat detectFormat(const QString& path);

// A short upper-case name ("JPEG", "PNG", "JPEG 2000") for messages.
QString formatName(FileFormat format);

}  // namespace image
