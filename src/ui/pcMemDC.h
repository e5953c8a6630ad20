#pragma once

#include <QImage>

class QPainter;

namespace twinscan {

// An off-screen buffer that a bar draws into before one copy to the screen. It grows when asked
// for more room and never shrinks, so that repeated draws reuse it.
class pcMemDC
{
public:
    int Width() const { return width_; }
    void setWidth(int width);
    int Height() const { return height_; }
    void setHeight(int height);

    // The buffer, at least `width` by `height` logical pixels at `pixelRatio`; null when there
    // is none.
    QImage *hDC(int width, int height, qreal pixelRatio = 1.0);

    // Copies from the buffer at (xSrc, ySrc) to (xDst, yDst); a size of 0 or less is the
    // buffer's own.
    void Draw(QPainter &target, int xSrc = 0, int ySrc = 0, int WidthSrc = 0, int HeightSrc = 0,
        int xDst = 0, int yDst = 0) const;

    // A buffer holding a copy of the picture.
    void CreateFromPicture(const QImage &sPic);

    const QImage &image() const { return image_; }

private:
    void setSize(int &field, int value);
    void make(int width, int height, qreal pixelRatio);

    QImage image_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace twinscan
