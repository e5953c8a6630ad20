#pragma once

#include "engine/LoadedText.h"

#include <QString>
#include <memory>
#include <string>

namespace twinscan {

// Finds the next line, after or before a given one, whose text as it is shown (each line decoded
// on its own) contains a piece of text. The search wraps around the end of the file and looks at
// the line it started from last. It goes a given number of lines at a time, so that a window can
// run it between events and stop it at any point.
class LineSearch
{
public:
    enum class Direction { Forward, Backward };

    LineSearch(std::shared_ptr<const LoadedText> text, const QString &needle, bool matchCase,
        int from, Direction direction);

    // Looks at up to `lines` more lines; true once the search is over.
    bool step(int lines);
    bool done() const { return found_ >= 0 || searched_ >= text_->lineCount(); }
    // The line found, or -1.
    int found() const { return found_; }
    // Lines looked at so far, out of the file's line count.
    int searched() const { return searched_; }

private:
    bool matches(int line) const;
    bool matchesDecoded(int line) const;

    std::shared_ptr<const LoadedText> text_;
    QString needle_; // case-folded unless the case must match
    std::string asciiNeedle_; // the same bytes when every character is ASCII, else empty
    bool matchCase_;
    int next_;
    int stepBy_;
    int searched_ = 0;
    int found_ = -1;
};

} // namespace twinscan
