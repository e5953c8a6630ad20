#pragma once

#include "engine/DuplicateScanner.h"
#include "engine/LineList.h"
#include "engine/LoadedText.h"
#include "engine/Parallelism.h"
#include "engine/Progress.h"

#include <QByteArray>
#include <optional>

namespace twinscan {

enum class CopyScope { All, Marked };

// The entries copying would take: every entry, or the marked ones.
int chosenCount(const LineList &duplicates, CopyScope scope);

// What copying duplicates entries puts on the clipboard, as UTF-8: for each chosen entry in list
// order, its own source line as read (not the group's first text that the entry shows), decoded
// as the lists show it, then CR LF. Empty when no entry is chosen; none when `progress` asked to
// stop. `entries` is the scan's index of which entry stands for which line.
//
// The lines are visited in file order, each written to its place in the text: entries jump all
// over the file, and following them would wait on memory for nearly every line.
std::optional<QByteArray> clipboardText(const LoadedText &text, const LineList &duplicates,
    const LineEntryIndex &entries, CopyScope scope, const ProgressFn &progress = {},
    const Parallelism &parallelism = Parallelism::fromEnvironment());

} // namespace twinscan
