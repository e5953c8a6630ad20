#pragma once

#include "ui/BarAccessibility.h"
#include "ui/OleColor.h"
#include "ui/PictureBox.h"
#include "ui/ProgressDisplay.h"
#include "ui/pcMemDC.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <memory>

class QPainter;
class QPalette;
class QRect;
class QWidget;

namespace twinscan {

// An owner-drawn progress bar that paints into a PictureBox through an off-screen buffer. A
// surface at least as high as it is wide gets a bar that fills from the bottom, a wider one a
// bar that fills from the left. Every property write but Tag redraws at once.
class cProgressBar final : public AccessibleBar, public ProgressDisplay
{
public:
    cProgressBar();
    ~cProgressBar();

    QString Tag() const { return tag_; }
    void setTag(const QString &tag) { tag_ = tag; }
    bool Segments() const { return segments_; }
    void setSegments(bool value) { set(segments_, value); }
    bool XpStyle() const { return xpStyle_; }
    void setXpStyle(bool value) { set(xpStyle_, value); }
    QString Text() const { return text_; }
    void setText(const QString &value) { set(text_, value); }
    qint32 TextAlignX() const { return textAlignX_; }
    void setTextAlignX(qint32 value) { set(textAlignX_, value); }
    qint32 TextAlignY() const { return textAlignY_; }
    void setTextAlignY(qint32 value) { set(textAlignY_, value); }
    bool ShowText() const { return showText_; }
    void setShowText(bool value) { set(showText_, value); }
    double Percent() const { return fraction() * 100.0; }
    qint32 Min() const override { return min_; }
    void setMin(qint32 value) override { set(min_, value); }
    qint32 Max() const override { return max_; }
    void setMax(qint32 value) override { set(max_, value); }
    qint32 Value() const override { return value_; }
    void setValue(qint32 value) override;
    qint32 BorderStyle() const { return borderStyle_; }
    void setBorderStyle(qint32 value) { set(borderStyle_, value); }
    qint32 Appearance() const { return appearance_; }
    void setAppearance(qint32 value) { set(appearance_, value); }
    PictureBox *DrawObject() const { return surface_; }
    void setDrawObject(PictureBox *surface);
    OleColor BackColor() const { return backColor_; }
    void setBackColor(OleColor value) { set(backColor_, value); }
    OleColor ForeColor() const { return foreColor_; }
    void setForeColor(OleColor value) { set(foreColor_, value); }
    QFont Font() const { return font_; }
    void setFont(const QFont &value) { set(font_, value); }
    OleColor BarColor() const { return barColor_; }
    void setBarColor(OleColor value) { set(barColor_, value); }
    OleColor BarForeColor() const { return barForeColor_; }
    void setBarForeColor(OleColor value) { set(barForeColor_, value); }
    void setBarPicture(const QImage &picture);
    qint32 BarPictureMode() const { return barPictureMode_; }
    void setBarPictureMode(qint32 value) { set(barPictureMode_, value); }
    qint32 BackPictureMode() const { return backPictureMode_; }
    void setBackPictureMode(qint32 value) { set(backPictureMode_, value); }
    void setPicture(const QImage &picture);

    // Draws into the surface: at once inside its paint event, else by asking it to repaint now.
    void Draw();
    // Draws the bar into any painter's rectangle.
    void DrawToDC(QPainter &target, const QRect &rect, const QWidget *styleSource = nullptr);

    // The fraction of the way from Min to Max, limited to 0..1; 0 when they are equal.
    double fraction() const;

    // Screen readers get the value with its range, and the percentage as the text.
    QAccessible::Role accessibleRole() const override { return QAccessible::ProgressBar; }
    QString accessibleText() const override;
    std::optional<Range> accessibleRange() const override { return Range {min_, max_, value_}; }

private:
    template<typename T> void set(T &field, const T &value)
    {
        field = value;
        Draw();
    }
    void paint(QPainter &painter, QRect rect, const QWidget *styleSource);
    void paintCaption(QPainter &painter, const QRect &inner, OleColor color) const;
    void paintSegments(QPainter &painter, const QRect &inner, const QRect &filled) const;
    void paintBorder(QPainter &painter, const QRect &outer, const QPalette &palette) const;
    QRect filledRect(const QRect &inner, const QRect &outer) const;

    QString tag_;
    bool segments_ = false;
    bool xpStyle_ = false;
    QString text_;
    qint32 textAlignX_ = 1;
    qint32 textAlignY_ = 1;
    bool showText_ = false;
    qint32 min_ = 0;
    qint32 max_ = 100;
    qint32 value_ = 0;
    qint32 borderStyle_ = 1;
    qint32 appearance_ = 1;
    QPointer<PictureBox> surface_;
    pcMemDC buffer_;
    std::unique_ptr<pcMemDC> picture_;
    std::unique_ptr<pcMemDC> barPicture_;
    QFont font_;
    OleColor backColor_ = -1;
    OleColor foreColor_ = 0;
    OleColor barColor_ = -1;
    OleColor barForeColor_ = 0xFFFFFF;
    qint32 barPictureMode_ = 1;
    qint32 backPictureMode_ = 1;
};

} // namespace twinscan
