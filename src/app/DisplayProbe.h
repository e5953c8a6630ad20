#pragma once

#include <QString>

namespace twinscan {

// Whether a window system answers on the display that a variable names: an X server on DISPLAY
// (":0", "host:1"), a Wayland compositor on WAYLAND_DISPLAY (a socket name in XDG_RUNTIME_DIR or
// an absolute path). The toolkit aborts the program when its window system does not answer, so
// main() asks first.
bool x11DisplayOpens(const QString &display);
bool waylandDisplayOpens(const QString &name, const QString &runtimeFolder);

} // namespace twinscan
