#pragma once

// What the engine and editing tests share: the common includes, and files written and read back.

#include "engine/DuplicateScanner.h"
#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace twinscan::test {

inline void writeBytes(const QString &path, const std::string &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

// Writes `bytes` over the file in place, as another program editing it would, a second past its
// old modification time: the change shows also within one tick of the file system's clock.
inline void overwriteInPlace(const QString &path, const std::string &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    const QDateTime before = file.fileTime(QFileDevice::FileModificationTime);
    ASSERT_TRUE(file.resize(qint64(bytes.size())));
    ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(before.addSecs(1), QFileDevice::FileModificationTime));
}

inline std::string readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

// Bytes with control, 8-bit and most punctuation bytes percent-escaped, so that a failure shows
// CR, LF and NUL.
inline std::string visible(std::string_view bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size())).toPercentEncoding(" []").toStdString();
}

struct ScanResult
{
    std::vector<QString> entries; // the duplicates list as its readers see it
    std::vector<int> lines; // the line each entry stands for
    ScanOutcome outcome;
};

// Scans bytes as the program scans a file.
inline ScanResult scanBytes(std::string_view bytes, const ScanOptions &switches,
    const Parallelism &parallelism = Parallelism::fromEnvironment(), const KeySpec &key = {})
{
    const std::shared_ptr<LoadedText> text = LoadedText::fromBytes(bytes, parallelism);
    ItemVectorList list;
    list.setSource(text);
    ScanResult result;
    result.outcome = DuplicateScanner(*text, ScanRules::from(switches), parallelism, key).run(list);
    for (int i = 0; i < list.ListCount(); ++i) {
        result.entries.push_back(list.List(i));
        result.lines.push_back(int(list.itemAt(i).line));
    }
    return result;
}

} // namespace twinscan::test
