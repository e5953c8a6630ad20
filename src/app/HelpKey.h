#pragma once

namespace twinscan {

class frmMain;

// F1 anywhere in the main window opens the help document. A window shortcut sees the key before
// the focused control does, so no list or button can take it; other keys are left alone.
void installHelpKey(frmMain &window);

} // namespace twinscan
