#pragma once

// The image view: shows one bitmap with zoom and scrolling.
//
//   auto* view = new image::ImageView(parent);
//   view->setBackground(QColor(255, 255, 255));
//   view->setDocument(image::loadImage(path, {.maxSize = view->viewport()->size()}).document);
//   view->fitToWidth();                        // or fit(), fitToHeight(), setZoom(100)
//   view->setZoom(view->zoom() + 10);          // false (and no change) for a value <= 0
//   connect(view, &image::ImageView::zoomChanged, this, [](double percent) { ... });
//   view->bitsPerPixel(); view->pixelKind();   // of the shown bitmap, as its file had it
//   view->setImage(image::rotatedQuarterTurns(view->image(), -1));   // process, show again
//   view->clear();                             // nothing shown, all background
//
// Zoom is in percent of the image's real size. When the document was decoded smaller than
// its file (a display decode), the view draws from that bitmap and decodes the file at full
// size only when it needs more pixels (zooming in) or when image() is asked for.
// The wheel zooms by 8 % per notch around the mouse position and emits zoomChanged;
// setZoom and the fit functions do not emit it. Images smaller than the viewport are
// centred; larger ones scroll.

#include <functional>

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>

#include "platform/image/PixelFormat.h"

namespace image {

struct ImageDocument;

class ImageView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ImageView(QWidget* parent = nullptr);
    ~ImageView() override;

    // Shows a full-resolution bitmap. A None format is taken from the image itself.
    void setImage(const QImage& image, PixelFormat format = {});
    // Shows a loaded document (its pixel format is the file's).
    void setDocument(const ImageDocument& document);
    // Shows a reduced bitmap standing for an image of fullSize; loadFull decodes the real one.
    void setReducedImage(const QImage& shown, const QSize& fullSize, PixelFormat format,
                         std::function<QImage()> loadFull);

    // The full-resolution bitmap (decoded now if only a reduced one was shown).
    QImage image();
    bool isEmpty() const;
    void clear();

    QColor background() const { return m_background; }
    void setBackground(const QColor& colour);

    double zoom() const { return m_zoom; }
    // Refuses (returns false, zoom unchanged) a value that is not above 0 or not finite.
    bool setZoom(double percent);
    // Zoom so that the whole image, its width or its height fills the viewport (small
    // images are enlarged too). Nothing happens while the view is empty.
    void fit();
    void fitToWidth();
    void fitToHeight();

    int imageWidth() const { return m_fullSize.width(); }
    int imageHeight() const { return m_fullSize.height(); }
    PixelFormat pixelFormat() const { return m_format; }
    int bitsPerPixel() const { return m_format.bitsPerPixel; }
    PixelKind pixelKind() const { return m_format.kind; }

    // Wheel zoom factor per notch (1.08).
    static constexpr double wheelStep = 1.08;

signals:
    void zoomChanged(double percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSizeF scaledSize() const;
    QPointF imageOrigin() const;
    void applyZoom(double percent, const QPointF& anchor);
    void updateScrollBars();
    bool ensureFullResolution();
    const QImage& drawSource();
    void dropCache();

    QImage m_shown;                       // what is drawn (maybe reduced)
    QSize m_fullSize;
    PixelFormat m_format;
    std::function<QImage()> m_loadFull;   // set while m_shown is reduced
    QColor m_background = Qt::white;
    double m_zoom = 100.0;

    // Scaled pixels of the part last drawn, in scaled-image coordinates.
    QPixmap m_cache;
    QRect m_cacheRect;
    double m_cacheZoom = 0.0;
};

}  // namespace image
