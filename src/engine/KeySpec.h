#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace twinscan {

// What of a line is compared. The default compares the whole line, as the scan always has; the
// other kinds compare a part of it, while every entry still shows and saves the whole line.
struct KeySpec
{
    enum class Kind { WholeLine, Fields, Regex, Characters };
    Kind kind = Kind::WholeLine;
    std::vector<int> fields; // 1-based, in the order given
    std::string separator; // UTF-8 bytes; empty splits at runs of spaces and tabs
    bool csv = false; // fields follow RFC 4180 quoting; an empty separator is then a comma
    QString pattern; // the first capture group is the key, or the whole match without one
    int skipChars = 0; // characters of the decoded line passed over
    int checkChars = 0; // characters compared after them; 0 compares the rest

    bool isWholeLine() const { return kind == Kind::WholeLine; }
    bool operator==(const KeySpec &) const = default;
};

// Reads "2", "1,3" or "2-4,7" into field numbers; nothing for text that is no such list.
std::optional<std::vector<int>> parseFieldList(const QString &text);
QString fieldListText(const std::vector<int> &fields);

// Why a key cannot be used, in words for the user (a regular expression's own message); empty
// when it can.
QString keySpecError(const KeySpec &keySpec);

// One line that says what is compared, for a title or a status text; empty for the whole line.
QString keySpecSummary(const KeySpec &keySpec);

} // namespace twinscan
