#include "platform/image/codecs/Decoded.h"

#include <algorithm>

namespace image::detail {

QSize fittedSize(const QSize& full, const QSize& limit) {
    if (limit.isEmpty() || full.isEmpty())
        return full;
    if (full.width() <= limit.width() && full.height() <= limit.height())
        return full;
    const QSize fitted = full.scaled(limit, Qt::KeepAspectRatio);
    return {std::max(1, fitted.width()), std::max(1, fitted.height())};
}

QImage scaledTo(const QImage& image, const QSize& target) {
    if (image.isNull() || image.size() == target)
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace image::detail
