#include "ByteCompare.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace twinscan::e2e {

namespace {
constexpr std::size_t contextRows = 3;
constexpr std::size_t shownRows = 12;
constexpr std::size_t columnWidth = 40;

std::string escaped(char byte)
{
    switch (byte) {
    case '\r':
        return "\\r";
    case '\n':
        return "\\n";
    case '\t':
        return "\\t";
    case '\\':
        return "\\\\";
    default:
        break;
    }
    const auto code = static_cast<unsigned char>(byte);
    if (code >= 0x20 && code < 0x7F)
        return std::string(1, byte);
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", code);
    return hex;
}

// One row per line of the data, the line break written at the end of its row.
std::vector<std::string> rowsOf(const QByteArray &data)
{
    std::vector<std::string> rows(1);
    for (qsizetype i = 0; i < data.size(); ++i) {
        rows.back() += escaped(data[i]);
        const bool crAlone = data[i] == '\r' && (i + 1 == data.size() || data[i + 1] != '\n');
        if ((data[i] == '\n' || crAlone) && i + 1 < data.size())
            rows.emplace_back();
    }
    return rows;
}

std::string cell(const std::vector<std::string> &rows, std::size_t index)
{
    if (index >= rows.size())
        return "";
    return rows[index];
}

std::string padded(std::string text)
{
    if (text.size() < columnWidth)
        text.append(columnWidth - text.size(), ' ');
    return text;
}

qsizetype firstDifference(const QByteArray &expected, const QByteArray &actual)
{
    const qsizetype common = std::min(expected.size(), actual.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (expected[i] != actual[i])
            return i;
    }
    return common;
}

std::string sideBySide(const QByteArray &expected, const QByteArray &actual)
{
    const std::vector<std::string> left = rowsOf(expected);
    const std::vector<std::string> right = rowsOf(actual);
    const std::size_t total = std::max(left.size(), right.size());
    std::size_t first = 0;
    while (first < total && cell(left, first) == cell(right, first))
        ++first;
    const std::size_t from = first > contextRows ? first - contextRows : 0;
    const std::size_t to = std::min(total, from + shownRows);
    std::string text = "  " + padded("expected") + " | actual\n";
    if (from > 0)
        text += "  (" + std::to_string(from) + " equal lines before)\n";
    for (std::size_t row = from; row < to; ++row) {
        const bool same = cell(left, row) == cell(right, row);
        text += (same ? "  " : "* ") + padded(cell(left, row)) + " | " + cell(right, row) + "\n";
    }
    if (to < total)
        text += "  (" + std::to_string(total - to) + " more lines)\n";
    return text;
}
} // namespace

testing::AssertionResult sameBytes(const char *expectedExpression, const char *actualExpression,
    const QByteArray &expected, const QByteArray &actual)
{
    if (expected == actual)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
        << actualExpression << " differs from " << expectedExpression << " at byte "
        << firstDifference(expected, actual) << " (expected " << expected.size() << " bytes, got "
        << actual.size() << ")\n"
        << sideBySide(expected, actual);
}

} // namespace twinscan::e2e
