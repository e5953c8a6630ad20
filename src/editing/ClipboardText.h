#pragma once

#include "engine/LineList.h"
#include "engine/LoadedText.h"

#include <QString>

namespace twinscan {

enum class CopyScope { All, Marked };

// What copying duplicates entries puts on the clipboard: for each chosen entry in list order, its
// own source line as read (not the group's first text that the entry shows), decoded as the lists
// show it, then CR LF. Empty when no entry is chosen.
QString clipboardLines(const LoadedText &text, const LineList &duplicates, CopyScope scope);

// Whether copying would choose any entry, and so put text on the clipboard.
bool hasChosenEntries(const LineList &duplicates, CopyScope scope);

} // namespace twinscan
