#pragma once

namespace twinscan {

class frmMain;

// Ctrl+O presses Open, Ctrl+S presses Save and Ctrl+Q closes the main window, wherever the focus
// is in it. A busy window refuses them as it refuses the mouse: its buttons are disabled, and it
// does not close while a scan or a save runs.
void installCommandKeys(frmMain &window);

} // namespace twinscan
