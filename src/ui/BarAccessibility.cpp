#include "ui/BarAccessibility.h"

#include "ui/PictureBox.h"

#include <QAccessibleWidget>

namespace twinscan {

namespace {

// A bar's box as a screen reader sees it: a status bar whose text can be read, or a progress
// bar with its value. The box's accessible name stays what names the bar.
class BarAccessible final : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleValueInterface
{
public:
    explicit BarAccessible(PictureBox *box) : QAccessibleWidget(box) { }

    QAccessible::Role role() const override
    {
        return bar() ? bar()->accessibleRole() : QAccessible::Graphic;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(t);
    }

    // Nothing to do with a bar but read it: no actions, and a value that cannot be set.
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return nullptr;
        if (type == QAccessible::TextInterface && bar())
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::ValueInterface && range())
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Read-only text: no selection, the caret at the start.
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int *start, int *end) const override
    {
        *start = *end = 0;
        return {};
    }

    QVariant currentValue() const override { return range() ? range()->value : 0; }
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override { return range() ? range()->maximum : 0; }
    QVariant minimumValue() const override { return range() ? range()->minimum : 0; }
    QVariant minimumStepSize() const override { return 0; }

private:
    const AccessibleBar *bar() const
    {
        return static_cast<const PictureBox *>(widget())->accessibleBar();
    }
    QString shown() const { return bar() ? bar()->accessibleText() : QString(); }
    std::optional<AccessibleBar::Range> range() const
    {
        return bar() ? bar()->accessibleRange() : std::nullopt;
    }
};

QAccessibleInterface *barFactory(const QString &className, QObject *object)
{
    auto *box = qobject_cast<PictureBox *>(object);
    if (box && className == QLatin1String(PictureBox::staticMetaObject.className()))
        return new BarAccessible(box);
    return nullptr;
}

} // namespace

void installBarAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(barFactory);
        return true;
    }();
    (void)installed;
}

void announceBarText(PictureBox *surface, const QString &before)
{
    if (!surface || !QAccessible::isActive())
        return;
    const AccessibleBar *bar = surface->accessibleBar();
    QAccessibleTextUpdateEvent event(surface, 0, before, bar ? bar->accessibleText() : QString());
    QAccessible::updateAccessibility(&event);
}

void announceBarValue(PictureBox *surface, qint32 value)
{
    if (!surface || !QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(surface, value);
    QAccessible::updateAccessibility(&event);
}

} // namespace twinscan
