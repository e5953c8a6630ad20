#include "engine/KeyExtractor.h"

#include "engine/TextEncoding.h"

#include <algorithm>
#include <vector>

namespace twinscan {

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Fields split at every separator; with none, at runs of spaces and tabs, as awk splits them.
void splitPlain(std::string_view line, std::string_view separator, std::size_t most,
    std::vector<std::string_view> &fields)
{
    if (separator.empty()) {
        std::size_t at = 0;
        while (fields.size() < most) {
            while (at < line.size() && isBlank(line[at]))
                ++at;
            if (at == line.size())
                return;
            const std::size_t end = std::min(line.size(),
                std::size_t(std::find_if(line.begin() + std::ptrdiff_t(at), line.end(), isBlank)
                    - line.begin()));
            fields.push_back(line.substr(at, end - at));
            at = end;
        }
        return;
    }
    for (std::size_t at = 0; fields.size() < most;) {
        const std::size_t end = line.find(separator, at);
        fields.push_back(line.substr(at, end == std::string_view::npos ? end : end - at));
        if (end == std::string_view::npos)
            return;
        at = end + separator.size();
    }
}

// Where a CSV field that starts at `at` ends: at the next separator outside quotes. Quotes are
// special only in a field that begins with one; two inside it stand for one, and after its
// closing quote the rest of the field is plain text. An unclosed quote runs to the end of the
// line, which a line-by-line reader cannot see past.
std::size_t csvFieldEnd(std::string_view line, std::size_t at, std::string_view separator)
{
    bool quoted = at < line.size() && line[at] == '"';
    std::size_t end = at + (quoted ? 1 : 0);
    while (end < line.size()) {
        if (quoted) {
            const bool doubled = line[end] == '"' && end + 1 < line.size() && line[end + 1] == '"';
            quoted = line[end] != '"' || doubled;
            end += doubled ? 2 : 1;
        } else if (line.compare(end, separator.size(), separator) == 0) {
            break;
        } else {
            ++end;
        }
    }
    return end;
}

// RFC 4180 fields, each kept as written.
void splitCsv(std::string_view line, std::string_view separator, std::size_t most,
    std::vector<std::string_view> &fields)
{
    for (std::size_t at = 0; fields.size() < most;) {
        const std::size_t end = csvFieldEnd(line, at, separator);
        fields.push_back(line.substr(at, end - at));
        if (end >= line.size())
            return;
        at = end + separator.size();
    }
}

// A written CSV field's value: the quotes taken off and doubled quotes made single. A view into
// the field when that changes nothing inside it, else the value in `out`.
std::string_view csvValue(std::string_view field, std::string &out)
{
    if (field.empty() || field.front() != '"')
        return field;
    const std::size_t close = field.find('"', 1);
    if (close == std::string_view::npos || close + 1 == field.size())
        return field.substr(1, std::min(close, field.size()) - 1);
    out.clear();
    bool quoted = true;
    for (std::size_t i = 1; i < field.size(); ++i) {
        const bool doubled = field[i] == '"' && i + 1 < field.size() && field[i + 1] == '"';
        if (quoted && field[i] == '"') {
            quoted = doubled;
            i += doubled ? 1 : 0;
            if (!doubled)
                continue;
        }
        out += field[i];
    }
    return out;
}

void appendQuoted(std::string &out, std::string_view value)
{
    out.push_back('"');
    for (const char c : value) {
        out.push_back(c);
        if (c == '"')
            out.push_back(c);
    }
    out.push_back('"');
}

void latin1ToUtf8(std::string_view bytes, std::string &out)
{
    out.clear();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += char(0xC0 | byte >> 6);
            out += char(0x80 | (byte & 0x3F));
        }
    }
}

// The byte where the code point `count` of valid UTF-8 starts, counted in UTF-16 units when
// `units` is set and in code points otherwise; the end when the text is shorter.
std::size_t utf8Offset(std::string_view text, qsizetype count, bool units)
{
    std::size_t at = 0;
    for (; count > 0 && at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if ((byte & 0xC0) != 0x80)
            count -= units && byte >= 0xF0 ? 2 : 1;
    }
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

// Where the character `count` starts, reading the line in its encoding.
std::size_t charOffset(std::string_view line, std::size_t count, bool utf8)
{
    if (!utf8)
        return std::min(count, line.size());
    return utf8Offset(line, qsizetype(std::min(count, line.size())), false);
}
} // namespace

KeyExtractor::KeyExtractor(const KeySpec &keySpec, ScanRules rules) : spec_(keySpec), rules_(rules)
{
    if (spec_.csv && spec_.separator.empty())
        spec_.separator.push_back(','); // it is empty
    for (const int field : spec_.fields)
        lastField_ = std::max(lastField_, field);
    if (spec_.kind == KeySpec::Kind::Regex) {
        regex_.setPattern(spec_.pattern);
        // Compiled here, once, rather than by whichever thread matches first.
        regex_.optimize();
        group_ = regex_.captureCount() > 0 ? 1 : 0;
    }
}

std::string_view KeyExtractor::trimmed(std::string_view key) const
{
    return rules_.trimLines ? trimSpaces(key) : key;
}

std::optional<std::string_view> KeyExtractor::partOf(
    std::string_view line, std::string &scratch) const
{
    std::optional<std::string_view> key;
    switch (spec_.kind) {
    case KeySpec::Kind::Fields:
        key = fieldsOf(line, scratch);
        break;
    case KeySpec::Kind::Regex:
        key = matchOf(line);
        break;
    default:
        key = charactersOf(line);
        break;
    }
    if (!key || (!rules_.includeEmptyLines && holdsOnlySpaces(*key)))
        return std::nullopt;
    if (isAscii(*key) || encodingOf(line) == TextEncoding::Utf8)
        return key;
    thread_local std::string converted;
    latin1ToUtf8(*key, converted);
    scratch.swap(converted);
    return scratch;
}

// One field is its value; several are their values, each quoted, one after the other, so that
// no two different lists of values give one key.
std::optional<std::string_view> KeyExtractor::fieldsOf(
    std::string_view line, std::string &scratch) const
{
    thread_local std::vector<std::string_view> fields;
    fields.clear();
    (spec_.csv ? splitCsv : splitPlain)(line, spec_.separator, std::size_t(lastField_), fields);
    if (fields.size() < std::size_t(lastField_))
        return std::nullopt;
    const auto value = [&](int field, std::string &out) {
        const std::string_view text = fields[std::size_t(field - 1)];
        return trimmed(spec_.csv ? csvValue(text, out) : text);
    };
    if (spec_.fields.size() == 1)
        return value(spec_.fields.front(), scratch);
    thread_local std::string unquoted;
    std::string joined;
    joined.swap(scratch);
    joined.clear();
    bool blank = true;
    for (const int field : spec_.fields) {
        const std::string_view text = value(field, unquoted);
        blank = blank && holdsOnlySpaces(text);
        appendQuoted(joined, text);
    }
    scratch.swap(joined);
    return blank && !rules_.includeEmptyLines ? std::string_view() : std::string_view(scratch);
}

std::optional<std::string_view> KeyExtractor::matchOf(std::string_view line) const
{
    const QString text = decodeLine(line);
    const QRegularExpressionMatch match = regex_.match(text);
    const qsizetype start = match.capturedStart(group_);
    if (!match.hasMatch() || start < 0)
        return std::nullopt;
    const qsizetype end = match.capturedEnd(group_);
    if (encodingOf(line) == TextEncoding::Latin1)
        return trimmed(line.substr(std::size_t(start), std::size_t(end - start)));
    const std::size_t from = utf8Offset(line, start, true);
    return trimmed(line.substr(from, utf8Offset(line, end, true) - from));
}

std::string_view KeyExtractor::charactersOf(std::string_view line) const
{
    const bool utf8 = !isAscii(line) && encodingOf(line) == TextEncoding::Utf8;
    const std::size_t from = charOffset(line, std::size_t(spec_.skipChars), utf8);
    std::string_view rest = line.substr(from);
    if (spec_.checkChars > 0)
        rest = rest.substr(0, charOffset(rest, std::size_t(spec_.checkChars), utf8));
    return trimmed(rest);
}

} // namespace twinscan
