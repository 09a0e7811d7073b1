#include "platform/image/ImageView.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "platform/image/ImageDocument.h"
#include "platform/image/ImageIo.h"

namespace image {

namespace {

// Up to this many scaled pixels the whole scaled image is cached, so scrolling is a blit.
constexpr qint64 kWholeCachePixels = qint64(4) << 20;
// Scroll ranges stay well inside int.
constexpr double kMaxScrollExtent = 1 << 30;

}  // namespace

ImageView::ImageView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    updateScrollBars();
}

ImageView::~ImageView() = default;

void ImageView::setImage(const QImage& image, PixelFormat format) {
    m_shown = image;
    m_fullSize = image.size();
    m_format = format.kind == PixelKind::None ? pixelFormatOf(image) : format;
    m_loadFull = nullptr;
    dropCache();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void ImageView::setDocument(const ImageDocument& document) {
    if (document.isReduced() && !document.path.isEmpty()) {
        const QString path = document.path;
        setReducedImage(document.image, document.originalSize, document.pixelFormat, [path] {
            LoadOptions options;
            options.readMetadata = false;
            return loadImage(path, options).document.image;
        });
    } else {
        setImage(document.image, document.pixelFormat);
    }
}

void ImageView::setReducedImage(const QImage& shown, const QSize& fullSize, PixelFormat format,
                                std::function<QImage()> loadFull) {
    setImage(shown, format);
    if (!shown.isNull() && fullSize.isValid() && fullSize != shown.size()) {
        m_fullSize = fullSize;
        m_loadFull = std::move(loadFull);
        updateScrollBars();
    }
}

QImage ImageView::image() {
    ensureFullResolution();
    return m_shown;
}

bool ImageView::isEmpty() const {
    return m_shown.isNull();
}

void ImageView::clear() {
    setImage(QImage());
}

void ImageView::setBackground(const QColor& colour) {
    m_background = colour;
    viewport()->update();
}

bool ImageView::setZoom(double percent) {
    if (!(percent > 0.0) || !std::isfinite(percent))
        return false;
    applyZoom(percent, QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
    return true;
}

void ImageView::fit() {
    if (m_fullSize.isEmpty())
        return;
    const QSize area = maximumViewportSize();
    setZoom(std::min(double(area.width()) / m_fullSize.width(),
                     double(area.height()) / m_fullSize.height()) * 100.0);
}

void ImageView::fitToWidth() {
    if (m_fullSize.isEmpty())
        return;
    const QSize area = maximumViewportSize();
    double width = area.width();
    // When the fitted height needs a vertical scroll bar, that bar takes width away.
    if (m_fullSize.height() * width / m_fullSize.width() > area.height()
        && verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        width -= verticalScrollBar()->sizeHint().width();
    setZoom(std::max(1.0, width) / m_fullSize.width() * 100.0);
}

void ImageView::fitToHeight() {
    if (m_fullSize.isEmpty())
        return;
    const QSize area = maximumViewportSize();
    double height = area.height();
    if (m_fullSize.width() * height / m_fullSize.height() > area.width()
        && horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        height -= horizontalScrollBar()->sizeHint().height();
    setZoom(std::max(1.0, height) / m_fullSize.height() * 100.0);
}

QSizeF ImageView::scaledSize() const {
    const double f = m_zoom / 100.0;
    return {std::min(kMaxScrollExtent, m_fullSize.width() * f),
            std::min(kMaxScrollExtent, m_fullSize.height() * f)};
}

QPointF ImageView::imageOrigin() const {
    const QSizeF s = scaledSize();
    const QSize v = viewport()->size();
    const double x = s.width() < v.width() ? (v.width() - s.width()) / 2.0 : -horizontalScrollBar()->value();
    const double y = s.height() < v.height() ? (v.height() - s.height()) / 2.0 : -verticalScrollBar()->value();
    return {std::floor(x), std::floor(y)};
}

void ImageView::applyZoom(double percent, const QPointF& anchor) {
    const double oldScale = m_zoom / 100.0;
    const QPointF imagePoint = (anchor - imageOrigin()) / oldScale;
    m_zoom = percent;
    dropCache();
    updateScrollBars();
    const double scale = m_zoom / 100.0;
    const QPointF wanted = imagePoint * scale - anchor;   // scroll offset keeping the point
    horizontalScrollBar()->setValue(int(std::lround(std::clamp(wanted.x(), 0.0, kMaxScrollExtent))));
    verticalScrollBar()->setValue(int(std::lround(std::clamp(wanted.y(), 0.0, kMaxScrollExtent))));
    viewport()->update();
}

void ImageView::updateScrollBars() {
    const QSizeF s = scaledSize();
    const QSize v = viewport()->size();
    // A fitted side may come out a hair above the viewport in floating point.
    horizontalScrollBar()->setRange(0, std::max(0, int(std::ceil(s.width() - 1e-3)) - v.width()));
    verticalScrollBar()->setRange(0, std::max(0, int(std::ceil(s.height() - 1e-3)) - v.height()));
    horizontalScrollBar()->setPageStep(std::max(1, v.width()));
    verticalScrollBar()->setPageStep(std::max(1, v.height()));
}

bool ImageView::ensureFullResolution() {
    if (!m_loadFull)
        return true;
    const std::function<QImage()> load = std::move(m_loadFull);
    m_loadFull = nullptr;
    const QImage full = load();
    if (full.isNull())
        return false;   // keep drawing the reduced bitmap
    m_shown = full;
    dropCache();
    return true;
}

void ImageView::dropCache() {
    m_cache = QPixmap();
    m_cacheRect = QRect();
    m_cacheZoom = 0.0;
}

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), m_background);
    if (m_shown.isNull() || m_fullSize.isEmpty())
        return;

    QSizeF s = scaledSize();
    // A reduced bitmap serves while it has at least as many pixels as are shown.
    if (m_loadFull && (s.width() > m_shown.width() + 0.5 || s.height() > m_shown.height() + 0.5))
        ensureFullResolution();

    const QPointF origin = imageOrigin();
    const QRect bounds(0, 0, int(std::lround(s.width())), int(std::lround(s.height())));
    const QRect visible = QRectF(-origin, QSizeF(viewport()->size())).toAlignedRect() & bounds;
    if (visible.isEmpty())
        return;

    if (m_cache.isNull() || m_cacheZoom != m_zoom || !m_cacheRect.contains(visible)) {
        QRect wanted = bounds;
        if (qint64(bounds.width()) * bounds.height() > kWholeCachePixels) {
            const int mx = viewport()->width() / 2, my = viewport()->height() / 2;
            wanted = visible.adjusted(-mx, -my, mx, my) & bounds;
        }
        const double kx = s.width() / m_shown.width();
        const double ky = s.height() / m_shown.height();
        const QRect source = QRectF(wanted.x() / kx, wanted.y() / ky, wanted.width() / kx, wanted.height() / ky)
                                 .toAlignedRect() & m_shown.rect();
        const QRect target(int(std::floor(source.x() * kx)), int(std::floor(source.y() * ky)),
                           std::max(1, int(std::lround(source.width() * kx))),
                           std::max(1, int(std::lround(source.height() * ky))));
        QImage part = source == m_shown.rect() ? m_shown : m_shown.copy(source);
        if (part.size() != target.size())
            part = part.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_cache = QPixmap::fromImage(part);
        m_cacheRect = target;
        m_cacheZoom = m_zoom;
    }
    painter.drawPixmap(origin + QPointF(m_cacheRect.topLeft()), m_cache);
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ImageView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    applyZoom(m_zoom * std::pow(wheelStep, notches), event->position());
    event->accept();
    emit zoomChanged(m_zoom);
}

void ImageView::scrollContentsBy(int, int) {
    viewport()->update();
}

}  // namespace image
