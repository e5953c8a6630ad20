#pragma once

#include "engine/KeySpec.h"
#include "engine/LineKey.h"
#include "engine/ScanOptions.h"

#include <QRegularExpression>
#include <optional>
#include <string>
#include <string_view>

namespace twinscan {

// The bytes a line is compared by: the whole line, or the part of it a KeySpec names, after the
// trim and empty-line switches. Case is not folded here: the hash and the comparison fold it
// (LineKey.h), so a key that is a part of the line stays a view into it.
//
// A line without the named field, or one the expression does not match, takes no part; nor does
// a line whose key is blank (spaces only) unless empty lines are included. A key taken from a
// Latin-1 line is converted to UTF-8, so that a part of a line compares by its text whatever
// the line's encoding; the whole line keeps the rule that encodings never meet.
//
// One extractor may serve several threads at once: each passes a scratch string of its own.
class KeyExtractor
{
public:
    KeyExtractor(const KeySpec &keySpec, ScanRules rules);

    bool wholeLine() const { return spec_.isWholeLine(); }

    // The key, a view into `line` or into `scratch`; nothing when the line takes no part.
    std::optional<std::string_view> keyOf(std::string_view line, std::string &scratch) const
    {
        if (!wholeLine())
            return partOf(line, scratch);
        if (!rules_.includeEmptyLines && holdsOnlySpaces(line))
            return std::nullopt;
        return wholeKey(line);
    }
    // The key of a line known to take part, without asking again: the comparisons of the scan
    // ask it of lines already placed, millions of times.
    std::string_view takenKeyOf(std::string_view line, std::string &scratch) const
    {
        return wholeLine() ? wholeKey(line) : partOf(line, scratch).value_or(std::string_view());
    }

private:
    std::string_view wholeKey(std::string_view line) const
    {
        return rules_.trimLines ? trimSpaces(line) : line;
    }
    std::optional<std::string_view> partOf(std::string_view line, std::string &scratch) const;
    std::optional<std::string_view> fieldsOf(std::string_view line, std::string &scratch) const;
    std::optional<std::string_view> matchOf(std::string_view line) const;
    std::string_view charactersOf(std::string_view line) const;
    std::string_view trimmed(std::string_view key) const;

    KeySpec spec_;
    ScanRules rules_;
    QRegularExpression regex_;
    int group_ = 0;
    int lastField_ = 0;
};

} // namespace twinscan
