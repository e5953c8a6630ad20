#pragma once

namespace twinscan {

class frmMain;

// Ctrl+O presses Open, Ctrl+S presses Save and Ctrl+Q closes the main window, wherever the focus
// is in it. A key presses its button only while the button could be clicked, so a busy window
// refuses it as it refuses the mouse; the window itself refuses to close while it is busy.
void installCommandKeys(frmMain &window);

} // namespace twinscan
