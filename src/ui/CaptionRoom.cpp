#include "ui/CaptionRoom.h"

#include "ui/WindowGeometry.h"

#include <QGroupBox>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace twinscan {

namespace {
// The gap the style leaves between the icon and the text under it.
constexpr int iconTextGap = 4;
} // namespace

QSize captionRoom(const QToolButton &button)
{
    const int frame
        = 2 * button.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    const QSize text = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
    return {std::max(text.width(), button.iconSize().width()) + frame,
        button.iconSize().height() + iconTextGap + text.height() + frame};
}

int titleRoom(const QGroupBox &frame)
{
    return frame.contentsRect().top();
}

double growthFor(int pixels, int twips)
{
    return twips > 0 ? double(pixels) * twipsPerPixel / twips : 1.0;
}

} // namespace twinscan
