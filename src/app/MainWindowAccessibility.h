#pragma once

namespace twinscan {

// Makes Qt tell assistive tools that the main window is a window. It is a plain widget, which
// Qt's own interface calls a client area: a screen reader took it for a filler inside some other
// window. Idempotent.
void installMainWindowAccessibility();

} // namespace twinscan
