#pragma once

// Camera data (EXIF fields and IPTC records) read with an image.
//
//   image::LoadResult r = image::loadImage(path);
//   const image::CameraData& cam = r.document.camera;  // fresh for every load
//   if (cam.flash != 0) ...
//
// Absent text tags are empty, absent numeric tags 0, as the information rows expect.

#include <QString>
#include <QStringList>

namespace image {

struct CameraData {
    bool hasExif = false;
    QString make;               // Make (271)
    QString model;              // Model (272)
    QString flashpixVersion;    // FlashpixVersion (40960), e.g. "0100"
    QString dateTimeOriginal;   // DateTimeOriginal (36867), as stored
    QString dateTime;           // DateTime (306), as stored
    int exposureProgram = 0;    // ExposureProgram (34850)
    double exposureTime = 0;    // ExposureTime (33434), seconds
    double exposureBias = 0;    // ExposureBiasValue (37380)
    double maxAperture = 0;     // MaxApertureValue (37381)
    double fNumber = 0;         // FNumber (33437)
    int isoSpeed = 0;           // ISOSpeedRatings (34855), the ISO speed (first value)
    double focalLength = 0;     // FocalLength (37386)
    int flash = 0;              // Flash (37385)
    double whitePoint = 0;      // WhitePoint (318), second value
    int lightSource = 0;        // LightSource (37384)
    int meteringMode = 0;       // MeteringMode (37383)
    int colorSpace = 0;         // ColorSpace (40961)
    QString userComment;        // UserComment (37510) without its character-code prefix
    QString imageDescription;   // ImageDescription (270)
    QStringList iptc;           // every IPTC record's data as text, in file order
};

}  // namespace image
