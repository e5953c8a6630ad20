#pragma once

#include "ui/BarAccessibility.h"
#include "ui/PictureBox.h"

#include <QIcon>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

class QObject;
class QPainter;

namespace twinscan {

// A misuse of the status bar: a number, a description and the source "<program>.cNoStatusBar".
class StatusBarError : public std::runtime_error
{
public:
    StatusBarError(qint32 number, const QString &description);

    qint32 number() const { return number_; }
    QString description() const { return description_; }
    QString source() const { return source_; }

    static constexpr qint32 objectErrorBase = -2147221504;
    static constexpr qint32 invalidObject = 9;
    static constexpr qint32 invalidPanelIndex = objectErrorBase + 1050;
    static constexpr qint32 tooManyPanels = objectErrorBase + 1051;
    static constexpr qint32 stylesNotSupported = objectErrorBase + 1052;

private:
    qint32 number_;
    QString description_;
    QString source_;
};

// Addresses a panel by its 1-based position or by its key; a key that reads as a whole number is
// a position.
class PanelKey
{
public:
    PanelKey(int index) : index_(index), numeric_(true) { }
    PanelKey(const QString &key);

    bool numeric() const { return numeric_; }
    int index() const { return index_; }
    QString text() const { return numeric_ ? QString::number(index_) : key_; }

private:
    QString key_;
    int index_ = 0;
    bool numeric_ = false;
};

// An owner-drawn status bar: a row of panels that it lays out and draws into a PictureBox. One
// panel may be the spring that takes the width the others leave; a panel may size itself to its
// text. Lengths are logical pixels except Height, which is in twips.
class cNoStatusBar final : public AccessibleBar
{
public:
    // Style flags handed to the panel frame: sunken is the default.
    static constexpr qint32 styleNoBorder = 0x100;
    static constexpr qint32 styleRaised = 0x200;
    static constexpr qint32 styleOwnerDraw = 0x1000;
    static constexpr int maxPanels = 255;

    struct PanelRect
    {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool operator==(const PanelRect &) const = default;
    };

    cNoStatusBar();
    ~cNoStatusBar();
    cNoStatusBar(const cNoStatusBar &) = delete;
    cNoStatusBar &operator=(const cNoStatusBar &) = delete;

    bool AllowXPStyles() const { return themesSupported_; }
    void setAllowXPStyles(bool bState);
    bool SizeGrip() const { return sizeGrip_; }
    void setSizeGrip(bool bSizeGrip);

    void AddPanel(qint32 eStyle = 0, const QString &sText = {}, qint32 iImgIndex = 0,
        qint32 lMinWidth = 0, bool bSpring = false, bool bFitContents = false, qint32 lItemData = 0,
        const QString &sKey = {}, const std::optional<PanelKey> &vKeyBefore = std::nullopt);
    void Draw();
    void SetLeftTopOffsets(qint32 lLeft, qint32 lTop);
    void Create(QObject *objThis);
    qint32 Height() const;
    qint32 PanelCount() const { return qint32(panels_.size()); }
    PanelRect GetPanelRect(const PanelKey &vKey) const;
    qint32 PanelIndex(const PanelKey &vKey) const;

    QString PanelText(const PanelKey &vKey) const;
    void setPanelText(const PanelKey &vKey, const QString &sText);
    bool PanelSpring(const PanelKey &vKey) const;
    void setPanelSpring(const PanelKey &vKey, bool bState);
    bool PanelFitToContents(const PanelKey &vKey) const;
    void setPanelFitToContents(const PanelKey &vKey, bool bState);
    qint32 PanelIcon(const PanelKey &vKey) const;
    void setPanelIcon(const PanelKey &vKey, qint32 iImgIndex);
    QIcon PanelhIcon(const PanelKey &vKey) const;
    void setPanelhIcon(const PanelKey &vKey, const QIcon &hIcon);
    qint32 PanelStyle(const PanelKey &vKey) const;
    void setPanelStyle(const PanelKey &vKey, qint32 eStyle);
    qint32 PanelMinWidth(const PanelKey &vKey) const;
    qint32 PanelIdealWidth(const PanelKey &vKey) const;
    void setPanelIdealWidth(const PanelKey &vKey, qint32 lWidth);

    // Raised while drawing a panel styled styleOwnerDraw: the painter, the panel's box (the
    // handler may change it) and whether the default text is still to be drawn.
    std::function<void(QPainter &, QRect &, bool &)> OwnerDraw;

    // The panels' texts, one a line, for screen readers.
    QAccessible::Role accessibleRole() const override { return QAccessible::StatusBar; }
    QString accessibleText() const override;

private:
    struct Panel
    {
        QString sKey;
        qint32 lItemData = 0;
        qint32 iImgIndex = -1;
        QIcon hIcon;
        QString sText;
        qint32 lMinWidth = 0;
        qint32 idealWidth = 0;
        qint32 width = 0;
        bool bSpring = false;
        bool bFitContents = false;
        qint32 eStyle = 0;
        PanelRect rect;
    };

    Panel &panel(const PanelKey &vKey);
    const Panel &panel(const PanelKey &vKey) const;
    void measureIdealWidth(Panel &panel) const;
    void layout();
    void paint(QPainter &painter);
    bool paintPanel(QPainter &painter, Panel &panel, QRect box, bool &doDefault) const;
    void paintGrip(QPainter &painter, const QRect &client) const;

    std::vector<Panel> panels_;
    QPointer<PictureBox> surface_;
    bool sizeGrip_ = false;
    int barHeight_ = 0;
    int leftOffset_ = 0;
    int topOffset_ = 0;
    int iconAllowance_ = 0; // no operation reserves room for icons
    bool themesSupported_ = false;
    bool themesAllowed_ = false;
};

} // namespace twinscan
