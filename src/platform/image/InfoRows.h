#pragma once

// The information rows of a photo (caption, value), shared by the main window's panel, the
// properties dialog and the viewer's properties command.
//
//   for (const image::InfoRow& row : image::informationRows(doc))
//       addRow(row.caption, row.value);
//
// Rows 1-21 are fixed (camera maker ... description, with the decoded image's height and
// width), then one row per IPTC record with the record's text in both columns. Numbers use
// the user's decimal separator.

#include <QList>
#include <QString>

class QSize;

namespace image {

struct CameraData;
struct ImageDocument;

struct InfoRow {
    QString caption;
    QString value;

    bool operator==(const InfoRow&) const = default;
};

QList<InfoRow> informationRows(const CameraData& camera, const QSize& imageSize);
QList<InfoRow> informationRows(const ImageDocument& document);   // uses originalSize

// General number format: up to 15 significant digits, exponent only for very large or very
// small values, the system locale's decimal separator ("0.004", "5.6").
QString formatInfoNumber(double value);

}  // namespace image
