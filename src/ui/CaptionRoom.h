#pragma once

#include <QSize>

class QGroupBox;
class QToolButton;

namespace twinscan {

// The pixels a control needs to show its caption whole in the font it has now.
QSize captionRoom(const QToolButton &button); // text under the icon, inside the button's frame
int titleRoom(const QGroupBox &frame); // the height above the frame's contents

// How much a length of `twips`, drawn at the design scale, must grow to hold `pixels`; below 1
// where it has room to spare.
double growthFor(int pixels, int twips);

} // namespace twinscan
