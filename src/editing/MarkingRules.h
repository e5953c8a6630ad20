#pragma once

#include "engine/LineList.h"

namespace twinscan {

// The rules that set the marks of every entry of the duplicates list at once. Each visits the
// entries in order and writes every mark; an empty list is left as it is. Showing the hourglass,
// guarding against click notifications and moving the current item belong to the window.
void markAll(LineList &duplicates);
void markNone(LineList &duplicates);
void invertMarks(LineList &duplicates);
// In every group the first (earliest) entry is unmarked and every further one marked.
void markAllButFirst(LineList &duplicates);
// In every group the last (latest) entry is unmarked and every other one marked.
void markAllButLast(LineList &duplicates);

enum class MarkRule { All, None, Invert, AllButFirst, AllButLast };
void applyMarkRule(LineList &duplicates, MarkRule rule);

} // namespace twinscan
