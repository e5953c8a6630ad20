#include "ui/pcMemDC.h"

#include <QPainter>

namespace twinscan {

void pcMemDC::setWidth(int width)
{
    setSize(width_, width);
}

void pcMemDC::setHeight(int height)
{
    setSize(height_, height);
}

void pcMemDC::setSize(int &field, int value)
{
    if (value == field)
        return;
    field = value;
    if (image_.isNull() && width_ > 0 && height_ > 0)
        make(width_, height_, 1.0);
}

QImage *pcMemDC::hDC(int width, int height, qreal pixelRatio)
{
    if (!image_.isNull()) {
        // A screen of another scale needs a buffer at its own pixel ratio.
        if (width > width_ || height > height_ || image_.devicePixelRatio() != pixelRatio)
            make(width, height, pixelRatio);
    } else if (width > 0 && height > 0) {
        make(width, height, pixelRatio);
    }
    return image_.isNull() ? nullptr : &image_;
}

void pcMemDC::Draw(
    QPainter &target, int xSrc, int ySrc, int WidthSrc, int HeightSrc, int xDst, int yDst) const
{
    if (image_.isNull())
        return;
    const qreal ratio = image_.devicePixelRatio();
    const int width = WidthSrc > 0 ? WidthSrc : width_;
    const int height = HeightSrc > 0 ? HeightSrc : height_;
    target.drawImage(QRectF(xDst, yDst, width, height), image_,
        QRectF(xSrc * ratio, ySrc * ratio, width * ratio, height * ratio));
}

void pcMemDC::CreateFromPicture(const QImage &sPic)
{
    make(sPic.width(), sPic.height(), 1.0);
    if (!image_.isNull()) {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, sPic);
    }
}

// A buffer that cannot be made leaves none, and the bar draws straight to its target.
void pcMemDC::make(int width, int height, qreal pixelRatio)
{
    image_ = QImage();
    width_ = height_ = 0;
    if (width <= 0 || height <= 0)
        return;
    QImage made(QSize(width, height) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    if (made.isNull())
        return;
    made.setDevicePixelRatio(pixelRatio);
    made.fill(Qt::transparent);
    image_ = std::move(made);
    width_ = width;
    height_ = height;
}

} // namespace twinscan
