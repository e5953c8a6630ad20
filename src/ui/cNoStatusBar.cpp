#include "ui/cNoStatusBar.h"

#include "ui/PictureBox.h"
#include "ui/WindowGeometry.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace twinscan {

namespace {
constexpr int textMargin = 4; // between a panel's frame and its text

QString errorSource()
{
    return QCoreApplication::applicationName() + QStringLiteral(".cNoStatusBar");
}

// The plain "windows" style draws no themed parts; every other style has its own look.
bool styleHasThemes()
{
    return QApplication::style()->name().compare(QStringLiteral("windows"), Qt::CaseInsensitive);
}

void paintFrame(QPainter &painter, const QRect &box, qint32 style, const QPalette &palette)
{
    if (style & cNoStatusBar::styleNoBorder)
        return;
    qDrawShadePanel(&painter, box, palette, !(style & cNoStatusBar::styleRaised), 1);
}
} // namespace

StatusBarError::StatusBarError(qint32 number, const QString &description)
    : std::runtime_error(description.toStdString()),
      number_(number),
      description_(description),
      source_(errorSource())
{
}

PanelKey::PanelKey(const QString &key) : key_(key)
{
    index_ = key.toInt(&numeric_);
}

cNoStatusBar::cNoStatusBar() : themesSupported_(styleHasThemes()), themesAllowed_(themesSupported_)
{
}

cNoStatusBar::~cNoStatusBar()
{
    if (surface_ && surface_->accessibleBar() == this)
        surface_->setAccessibleBar(nullptr);
}

QString cNoStatusBar::accessibleText() const
{
    QStringList texts;
    for (const Panel &shown : panels_) {
        if (!shown.sText.isEmpty())
            texts.append(shown.sText);
    }
    return texts.join(QLatin1Char('\n'));
}

void cNoStatusBar::setAllowXPStyles(bool bState)
{
    if (bState && !themesSupported_) {
        throw StatusBarError(StatusBarError::stylesNotSupported,
            QStringLiteral("XP Styles not supported on this Windows installation."));
    }
    themesAllowed_ = bState;
}

void cNoStatusBar::setSizeGrip(bool bSizeGrip)
{
    sizeGrip_ = bSizeGrip;
    Draw();
}

void cNoStatusBar::AddPanel(qint32 eStyle, const QString &sText, qint32 iImgIndex, qint32 lMinWidth,
    bool bSpring, bool bFitContents, qint32 lItemData, const QString &sKey,
    const std::optional<PanelKey> &vKeyBefore)
{
    if (PanelCount() == maxPanels)
        throw StatusBarError(StatusBarError::tooManyPanels, QStringLiteral("Too many panels."));
    const qint32 index = vKeyBefore ? PanelIndex(*vKeyBefore) : PanelCount() + 1;
    if (bSpring) {
        for (Panel &other : panels_)
            other.bSpring = false;
    }
    Panel &added = *panels_.insert(panels_.begin() + (index - 1), Panel {});
    added.bFitContents = bFitContents;
    added.bSpring = bSpring;
    added.eStyle = eStyle;
    added.iImgIndex = iImgIndex;
    added.lMinWidth = lMinWidth;
    added.lItemData = lItemData;
    added.sKey = sKey;
    added.sText = sText;
    measureIdealWidth(added);
    layout();
    setPanelText(index, sText);
    setPanelIcon(index, iImgIndex);
    Draw();
}

void cNoStatusBar::Draw()
{
    if (!surface_)
        return;
    if (QPainter *painter = surface_->painter())
        paint(*painter);
    else
        surface_->repaint(); // its paint event comes back here with a painter
}

void cNoStatusBar::SetLeftTopOffsets(qint32 lLeft, qint32 lTop)
{
    leftOffset_ = lLeft;
    topOffset_ = lTop;
}

void cNoStatusBar::Create(QObject *objThis)
{
    surface_ = qobject_cast<PictureBox *>(objThis);
    if (!surface_) {
        throw StatusBarError(
            StatusBarError::invalidObject, QStringLiteral("Invalid object passed to Create."));
    }
    barHeight_ = surface_->fontMetrics().height() + 10;
    surface_->setAccessibleBar(this);
}

qint32 cNoStatusBar::Height() const
{
    return barHeight_ * twipsPerPixel;
}

cNoStatusBar::PanelRect cNoStatusBar::GetPanelRect(const PanelKey &vKey) const
{
    return panel(vKey).rect;
}

qint32 cNoStatusBar::PanelIndex(const PanelKey &vKey) const
{
    if (vKey.numeric()) {
        if (vKey.index() > 0 && vKey.index() <= PanelCount())
            return vKey.index();
    } else {
        for (std::size_t i = 0; i < panels_.size(); ++i) {
            if (panels_[i].sKey == vKey.text())
                return qint32(i + 1);
        }
    }
    throw StatusBarError(
        StatusBarError::invalidPanelIndex, QStringLiteral("Invalid Panel Index: ") + vKey.text());
}

cNoStatusBar::Panel &cNoStatusBar::panel(const PanelKey &vKey)
{
    return panels_[std::size_t(PanelIndex(vKey) - 1)];
}

const cNoStatusBar::Panel &cNoStatusBar::panel(const PanelKey &vKey) const
{
    return panels_[std::size_t(PanelIndex(vKey) - 1)];
}

QString cNoStatusBar::PanelText(const PanelKey &vKey) const
{
    return panel(vKey).sText;
}

void cNoStatusBar::setPanelText(const PanelKey &vKey, const QString &sText)
{
    const QString before = accessibleText();
    panel(vKey).sText = sText;
    Draw();
    announceBarText(surface_, before);
}

bool cNoStatusBar::PanelSpring(const PanelKey &vKey) const
{
    return panel(vKey).bSpring;
}

void cNoStatusBar::setPanelSpring(const PanelKey &vKey, bool bState)
{
    Panel &changed = panel(vKey);
    if (changed.bSpring == bState)
        return;
    for (Panel &other : panels_)
        other.bSpring = false;
    changed.bSpring = bState;
    measureIdealWidth(changed);
    layout();
}

bool cNoStatusBar::PanelFitToContents(const PanelKey &vKey) const
{
    return panel(vKey).bFitContents;
}

void cNoStatusBar::setPanelFitToContents(const PanelKey &vKey, bool bState)
{
    Panel &changed = panel(vKey);
    if (changed.bFitContents == bState)
        return;
    changed.bFitContents = bState;
    measureIdealWidth(changed);
    layout();
}

qint32 cNoStatusBar::PanelIcon(const PanelKey &vKey) const
{
    return panel(vKey).iImgIndex;
}

// No image list is ever attached, so an index names no picture.
void cNoStatusBar::setPanelIcon(const PanelKey &vKey, qint32 iImgIndex)
{
    Panel &changed = panel(vKey);
    changed.hIcon = QIcon();
    changed.iImgIndex = iImgIndex;
    Draw();
}

QIcon cNoStatusBar::PanelhIcon(const PanelKey &vKey) const
{
    return panel(vKey).hIcon;
}

void cNoStatusBar::setPanelhIcon(const PanelKey &vKey, const QIcon &hIcon)
{
    panel(vKey).hIcon = hIcon;
    Draw();
}

qint32 cNoStatusBar::PanelStyle(const PanelKey &vKey) const
{
    return panel(vKey).eStyle;
}

void cNoStatusBar::setPanelStyle(const PanelKey &vKey, qint32 eStyle)
{
    panel(vKey).eStyle = eStyle;
    Draw();
}

qint32 cNoStatusBar::PanelMinWidth(const PanelKey &vKey) const
{
    return panel(vKey).lMinWidth;
}

qint32 cNoStatusBar::PanelIdealWidth(const PanelKey &vKey) const
{
    return panel(vKey).idealWidth;
}

void cNoStatusBar::setPanelIdealWidth(const PanelKey &vKey, qint32 lWidth)
{
    panel(vKey).idealWidth = lWidth;
    layout();
}

void cNoStatusBar::measureIdealWidth(Panel &measured) const
{
    const QFontMetrics metrics
        = surface_ ? surface_->fontMetrics() : QFontMetrics(QApplication::font());
    measured.idealWidth
        = std::max(metrics.horizontalAdvance(measured.sText) + 12, measured.lMinWidth);
}

// Each panel takes its base width from the left; the spring panel (the last one when none is)
// then takes whatever is left or owed, so that the last panel always ends at the right edge.
void cNoStatusBar::layout()
{
    if (panels_.empty() || !surface_)
        return;
    const int clientLeft = leftOffset_;
    const int clientTop = topOffset_;
    const int clientRight = surface_->width();
    const int clientBottom = surface_->height();
    const std::size_t count = panels_.size();
    std::vector<qint64> edges(count);
    std::size_t spring = count - 1;
    qint64 edge = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Panel &p = panels_[i];
        qint64 base = p.bFitContents ? p.idealWidth : p.lMinWidth;
        if (!p.hIcon.isNull())
            base += iconAllowance_;
        if (i == count - 1)
            base += (clientBottom - clientTop) / 2;
        edge += base;
        edges[i] = edge;
        if (p.bSpring)
            spring = i;
    }
    const qint64 grow = clientRight - edges[count - 1];
    for (std::size_t i = spring; i < count; ++i)
        edges[i] += grow;
    for (std::size_t i = 0; i < count; ++i) {
        Panel &p = panels_[i];
        const qint64 left = i == 0 ? clientLeft : edges[i - 1];
        p.width = qint32(i == 0 ? edges[0] : edges[i] - edges[i - 1]);
        p.rect
            = {int(left), clientTop, int(i == count - 1 ? edges[i] : edges[i] - 1), clientBottom};
    }
}

void cNoStatusBar::paint(QPainter &painter)
{
    painter.save();
    const QRect client = surface_->rect();
    painter.fillRect(client, surface_->palette().button());
    layout();
    bool doDefault = true;
    QStringList cutTexts;
    for (Panel &p : panels_) {
        QRect box(QPoint(p.rect.left, p.rect.top), QPoint(p.rect.right - 1, p.rect.bottom - 1));
        const bool lastDrawn = p.rect.right > client.right() + 1;
        if (lastDrawn)
            box.setRight(client.right() - 1);
        if (paintPanel(painter, p, box, doDefault))
            cutTexts << p.sText;
        if (lastDrawn)
            break;
    }
    if (sizeGrip_)
        paintGrip(painter, client);
    // A message cut short ends in an ellipsis; the whole of it is a hover away.
    surface_->setToolTip(cutTexts.join(QLatin1Char('\n')));
    painter.restore();
}

// Draws one panel's frame and, unless an owner-draw handler said otherwise, its text. Tells
// whether the text had to be cut short.
bool cNoStatusBar::paintPanel(QPainter &painter, Panel &p, QRect box, bool &doDefault) const
{
    const QPalette &palette = surface_->palette();
    const bool icon = !p.hIcon.isNull();
    const bool ownerDrawn = p.eStyle & styleOwnerDraw;
    if (icon || ownerDrawn)
        paintFrame(painter, box, p.eStyle, palette);
    if (ownerDrawn && OwnerDraw)
        OwnerDraw(painter, box, doDefault);
    if (!doDefault)
        return false;
    if (icon)
        box.setLeft(box.left() + iconAllowance_ + 4);
    else
        paintFrame(painter, box, p.eStyle, palette);
    if (p.sText.isEmpty())
        return false;
    const QRect textBox = box.adjusted(textMargin, 0, -textMargin, 0);
    const QString shown
        = painter.fontMetrics().elidedText(p.sText, Qt::ElideRight, textBox.width());
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    return shown != p.sText;
}

// Three diagonal ridges in the bottom-right corner, each a light line above two dark ones.
void cNoStatusBar::paintGrip(QPainter &painter, const QRect &client) const
{
    const QRect corner = client.translated(-2, -1);
    const int size = std::min(surface_->fontMetrics().height() * 3 / 4, client.height() - 2);
    const QPoint end = corner.bottomRight();
    const QPalette &palette = surface_->palette();
    for (int offset = 4; offset <= size; offset += 4) {
        painter.setPen(palette.color(QPalette::Light));
        painter.drawLine(end.x() - offset, end.y(), end.x(), end.y() - offset);
        painter.setPen(palette.color(QPalette::Dark));
        for (int shade = 1; shade <= 2; ++shade) {
            painter.drawLine(end.x() - offset + shade, end.y(), end.x(), end.y() - offset + shade);
        }
    }
}

} // namespace twinscan
