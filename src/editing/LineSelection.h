#pragma once

namespace twinscan {

// Which lines of the scanned input a job writes.
enum class LineSelection {
    KeepFirst, // the input without its duplicates, the first occurrence of each kept
    KeepLast, // the same, keeping the last occurrence
    KeepNone, // the input without any line that occurs more than once
    Repeated, // the first occurrence of each duplicated line
    AllRepeated, // every occurrence of every duplicated line, group after group
    Unique, // the lines that occur once
    Duplicated, // every occurrence of every duplicated line, in file order
    Removed, // the lines the removals name, in file order
};

// Whether the selection is the input without some of its duplicates, which a save writes.
constexpr bool keepsInput(LineSelection selection)
{
    return selection == LineSelection::KeepFirst || selection == LineSelection::KeepLast
        || selection == LineSelection::KeepNone;
}

} // namespace twinscan
