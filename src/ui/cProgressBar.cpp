#include "ui/cProgressBar.h"

#include "engine/Rounding.h"
#include "ui/PictureBox.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <qdrawutil.h>

namespace twinscan {

namespace {
constexpr int chunk = 8; // segment blocks and the gaps between them, in pixels
constexpr int space = 2;

// A RECT-like box: right and bottom lie just outside it.
QRect box(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void fill(QPainter &painter, const QRect &area, OleColor color, const QPalette &palette)
{
    if (const std::optional<QColor> filled = fillColor(color, palette))
        painter.fillRect(area, *filled);
}

// Covers the area with the picture, tiled from its top-left corner or stretched over it.
void cover(QPainter &painter, const QRect &area, const pcMemDC &picture, qint32 mode)
{
    if (mode == 1) {
        painter.setBrushOrigin(area.topLeft());
        painter.fillRect(area, QBrush(picture.image()));
    } else {
        painter.drawImage(area, picture.image());
    }
}

std::unique_ptr<pcMemDC> copyOf(const QImage &picture)
{
    if (picture.isNull())
        return nullptr;
    auto copy = std::make_unique<pcMemDC>();
    copy->CreateFromPicture(picture);
    return copy;
}

int alignment(qint32 alignX, qint32 alignY)
{
    const int horizontal = alignX == 0 ? Qt::AlignLeft
        : alignX == 2                  ? Qt::AlignRight
                                       : Qt::AlignHCenter;
    const int vertical = alignY == 0 ? Qt::AlignTop
        : alignY == 2                ? Qt::AlignBottom
                                     : Qt::AlignVCenter;
    return horizontal | vertical | Qt::TextSingleLine;
}
} // namespace

cProgressBar::cProgressBar() : font_(QStringLiteral("Tahoma"), 8) { }

cProgressBar::~cProgressBar()
{
    if (surface_ && surface_->accessibleBar() == this)
        surface_->setAccessibleBar(nullptr);
}

void cProgressBar::setDrawObject(PictureBox *surface)
{
    if (surface_ && surface_->accessibleBar() == this)
        surface_->setAccessibleBar(nullptr);
    surface_ = surface;
    if (surface_)
        surface_->setAccessibleBar(this);
    Draw();
}

void cProgressBar::setValue(qint32 value)
{
    const bool changed = value != value_;
    set(value_, value);
    if (changed)
        announceBarValue(surface_, value_);
}

QString cProgressBar::accessibleText() const
{
    return QString::number(roundHalfEven(Percent())) + QLatin1Char('%');
}

void cProgressBar::setBarPicture(const QImage &picture)
{
    barPicture_ = copyOf(picture);
    Draw();
}

void cProgressBar::setPicture(const QImage &picture)
{
    picture_ = copyOf(picture);
    Draw();
}

double cProgressBar::fraction() const
{
    if (max_ == min_)
        return 0.0;
    const double f = (double(value_) - min_) / (double(max_) - min_);
    return std::clamp(f, 0.0, 1.0);
}

void cProgressBar::Draw()
{
    if (!surface_)
        return;
    if (QPainter *painter = surface_->painter())
        DrawToDC(*painter, surface_->rect(), surface_);
    else
        surface_->repaint(); // its paint event comes back here with a painter
}

// Draws into the off-screen buffer and copies it in one step, so that the bar never flickers.
void cProgressBar::DrawToDC(QPainter &target, const QRect &rect, const QWidget *styleSource)
{
    const qreal ratio = target.device() ? target.device()->devicePixelRatioF() : 1.0;
    QImage *buffer = buffer_.hDC(rect.width(), rect.height(), ratio);
    if (!buffer) {
        paint(target, rect, styleSource);
        return;
    }
    {
        QPainter painter(buffer);
        paint(painter, QRect(0, 0, rect.width(), rect.height()), styleSource);
    }
    buffer_.Draw(target, 0, 0, rect.width(), rect.height(), rect.left(), rect.top());
}

void cProgressBar::paint(QPainter &painter, QRect rect, const QWidget *styleSource)
{
    const QPalette palette = styleSource ? styleSource->palette() : QApplication::palette();
    const bool shown = showText_ && !text_.isEmpty();
    if (xpStyle_ && !picture_) {
        // The desktop's own progress bar, as its style draws it.
        QStyleOptionProgressBar option;
        if (styleSource)
            option.initFrom(styleSource);
        option.rect = rect;
        option.palette = palette;
        option.maximum = 1000;
        option.progress = int(roundHalfEven(fraction() * 1000));
        option.textVisible = shown;
        option.text = text_;
        option.textAlignment = Qt::Alignment(alignment(textAlignX_, textAlignY_));
        option.state.setFlag(QStyle::State_Horizontal, rect.width() > rect.height());
        const QStyle *style = styleSource ? styleSource->style() : QApplication::style();
        style->drawControl(QStyle::CE_ProgressBar, &option, &painter, styleSource);
        return;
    }
    painter.save();
    if (picture_)
        cover(painter, rect, *picture_, backPictureMode_);
    else
        fill(painter, rect, backColor_, palette);
    const QRect outer = rect;
    if (borderStyle_ > 0)
        rect.adjust(appearance_ == 2 ? 2 : 1, appearance_ == 2 ? 2 : 1, appearance_ == 2 ? -2 : -1,
            appearance_ == 2 ? -2 : -1);
    if (shown)
        paintCaption(painter, rect, foreColor_);
    const QRect filled = filledRect(rect, outer);
    painter.setClipRect(filled);
    if (barPicture_)
        cover(painter, outer, *barPicture_, barPictureMode_);
    else
        fill(painter, filled, barColor_, palette);
    if (segments_)
        paintSegments(painter, rect, filled);
    if (shown)
        paintCaption(painter, rect, barForeColor_);
    painter.setClipping(false);
    paintBorder(painter, outer, palette);
    painter.restore();
}

// The part of the inner rectangle that stands for the value: from the bottom up when the whole
// bar is at least as high as it is wide, else from the left. Segments end on a whole block.
QRect cProgressBar::filledRect(const QRect &inner, const QRect &outer) const
{
    const int step = segments_ ? chunk + space : 1;
    const int left = inner.left(), top = inner.top();
    const int right = inner.right() + 1, bottom = inner.bottom() + 1;
    if (outer.width() <= outer.height()) {
        int filledTop = top + int(roundHalfEven((bottom - top) * (1.0 - fraction())));
        filledTop = std::min(filledTop + (bottom - filledTop) % step, bottom);
        return box(left, filledTop, right, bottom);
    }
    int filledRight = left + int(roundHalfEven((right - left) * fraction()));
    filledRight = std::max(filledRight - (filledRight - left) % step, left);
    return box(left, top, filledRight, bottom);
}

void cProgressBar::paintCaption(QPainter &painter, const QRect &inner, OleColor color) const
{
    const std::optional<QColor> pen
        = textColor(color, surface_ ? surface_->palette() : QApplication::palette());
    if (!pen)
        return;
    painter.setFont(font_);
    painter.setPen(*pen);
    painter.drawText(
        inner, alignment(textAlignX_, textAlignY_), QLatin1Char(' ') + text_ + QLatin1Char(' '));
}

// Gaps of the background colour cut the filled part into blocks.
void cProgressBar::paintSegments(QPainter &painter, const QRect &inner, const QRect &filled) const
{
    const QPalette palette = surface_ ? surface_->palette() : QApplication::palette();
    const int step = chunk + space;
    if (inner.width() > inner.height()) {
        for (int x = filled.left() + chunk; x <= filled.right(); x += step)
            fill(painter, QRect(x, inner.top(), space, inner.height()), backColor_, palette);
    } else {
        for (int y = filled.bottom() + 1; y >= filled.top() + chunk; y -= step)
            fill(painter, QRect(inner.left(), y, inner.width(), space), backColor_, palette);
    }
}

void cProgressBar::paintBorder(QPainter &painter, const QRect &outer, const QPalette &palette) const
{
    if (borderStyle_ <= 0)
        return;
    const bool sunken = borderStyle_ == 1;
    if (appearance_ == 2) {
        qDrawWinPanel(&painter, outer, palette, sunken);
        return;
    }
    if (appearance_ == 0) {
        painter.setPen(Qt::black);
        painter.drawRect(outer.adjusted(0, 0, -1, -1));
        return;
    }
    const int l = outer.left(), t = outer.top(), r = outer.right(), b = outer.bottom();
    const QColor topLeft = palette.color(sunken ? QPalette::Dark : QPalette::Light);
    const QColor bottomRight = palette.color(sunken ? QPalette::Light : QPalette::Dark);
    painter.setPen(topLeft);
    painter.drawLine(l, t, l, b - (sunken ? 0 : 1));
    painter.drawLine(l, t, r - (sunken ? 0 : 1), t);
    painter.setPen(bottomRight);
    painter.drawLine(r, t + (sunken ? 1 : 0), r, b);
    painter.drawLine(l + (sunken ? 1 : 0), b, r, b);
}

} // namespace twinscan
