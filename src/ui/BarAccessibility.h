#pragma once

#include <QAccessible>
#include <QString>
#include <optional>

namespace twinscan {

class PictureBox;

// What a screen reader is told about a bar that draws itself into a PictureBox: it cannot read
// the pixels, so the bar says what they show.
class AccessibleBar
{
public:
    struct Range
    {
        qint32 minimum = 0;
        qint32 maximum = 0;
        qint32 value = 0;
    };

    virtual QAccessible::Role accessibleRole() const = 0;
    // The text the bar shows, as a person reading the screen would say it.
    virtual QString accessibleText() const = 0;
    // A bar that shows a position in a range tells it; one that does not, nothing.
    virtual std::optional<Range> accessibleRange() const { return std::nullopt; }

protected:
    ~AccessibleBar() = default;
};

// Makes Qt ask a PictureBox's bar whenever an assistive tool asks about the box. Idempotent.
void installBarAccessibility();

// Tells assistive tools that the bar's text changed from `before` to what it shows now.
void announceBarText(PictureBox *surface, const QString &before);
// Tells assistive tools that the bar's value changed.
void announceBarValue(PictureBox *surface, qint32 value);

} // namespace twinscan
