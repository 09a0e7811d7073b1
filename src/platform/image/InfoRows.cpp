#include "platform/image/InfoRows.h"

#include <QLocale>
#include <QSize>

#include "platform/image/CameraData.h"
#include "platform/image/ImageDocument.h"

namespace image {

QString formatInfoNumber(double value) {
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::OmitLeadingZeroInExponent);
    return locale.toString(value, 'G', 15);
}

QList<InfoRow> informationRows(const CameraData& c, const QSize& size) {
    const auto integer = [](int v) { return QString::number(v); };
    QList<InfoRow> rows = {
        {QStringLiteral("相机厂家"), c.make},
        {QStringLiteral("相机型号"), c.model},
        {QStringLiteral("固件版本"), c.flashpixVersion},
        {QStringLiteral("拍摄时间"), c.dateTimeOriginal},
        {QStringLiteral("修改时间"), c.dateTime},
        {QStringLiteral("曝光模式"), integer(c.exposureProgram)},
        {QStringLiteral("快门速度"), formatInfoNumber(c.exposureTime)},
        {QStringLiteral("曝光补偿"), formatInfoNumber(c.exposureBias)},
        {QStringLiteral("最大光圈"), formatInfoNumber(c.maxAperture)},
        {QStringLiteral("光圈系数"), formatInfoNumber(c.fNumber)},
        {QStringLiteral("感光度ISO"), integer(c.isoSpeed)},
        {QStringLiteral("焦距"), formatInfoNumber(c.focalLength)},
        // Bit 0 of the EXIF flash value says whether the flash fired; the other bits
        // describe its mode ("off, did not fire" is 16).
        {QStringLiteral("闪光灯"), (c.flash & 1) ? QStringLiteral("使用") : QStringLiteral("未使用")},
        {QStringLiteral("白平衡"), formatInfoNumber(c.whitePoint)},
        {QStringLiteral("光源"), formatInfoNumber(c.lightSource)},
        {QStringLiteral("测光方式"), integer(c.meteringMode)},
        {QStringLiteral("照片高度"), integer(size.height())},
        {QStringLiteral("照片宽度"), integer(size.width())},
        {QStringLiteral("色彩空间"), integer(c.colorSpace)},
        {QStringLiteral("用户注释"), c.userComment},
        {QStringLiteral("照片描述"), c.imageDescription},
    };
    for (const QString& record : c.iptc)
        rows.append({record, record});
    return rows;
}

QList<InfoRow> informationRows(const ImageDocument& document) {
    return informationRows(document.camera, document.originalSize);
}

}  // namespace image
