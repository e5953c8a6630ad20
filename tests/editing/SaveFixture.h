#pragma once

#include "../engine/EngineTestSupport.h"
#include "editing/RemovalWriter.h"
#include "engine/LoadedText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace twinscan::test {

// A folder with a scanned source file, and a save request for it as the window would make one.
class SaveFixture : public testing::Test
{
public: // the cases of a table reach the fixture through a reference
    const std::string input = "keep 1\ndup\nkeep 2\ndup\n";
    const std::string saved = "keep 1\ndup\nkeep 2\n";

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Writes the source and takes its stamp and line count as a scan of it would, and marks the
    // given 1-based line numbers for removal.
    void scan(const std::string &bytes, const std::vector<int> &removed, const char *name = "a.txt")
    {
        source = path(name);
        writeBytes(source, bytes);
        const LoadResult loaded = TextLoader::load(source);
        ASSERT_TRUE(loaded.text);
        request.sourceFile = source;
        request.scannedStamp = loaded.text->stamp();
        request.scannedHash = loaded.text->contentHash();
        request.lastLineIndex = loaded.text->lineCount() - 1;
        removals = RemovalSet(request.lastLineIndex);
        for (const int n : removed)
            removals.add(n);
    }
    void scanInput() { scan(input, {4}); }

    SaveResult saveTo(const QString &target, const ProgressFn &progress = {})
    {
        request.targetFile = target;
        return saveWithRemoval(request, removals, progress);
    }

    // Temporary files of a save, of the current name and of the name once used.
    QStringList leftovers() const
    {
        return dir.entryList(
            {QStringLiteral("*.twintemp")}, QDir::Files | QDir::System | QDir::Hidden);
    }

    QTemporaryDir temporary;
    QDir dir {temporary.path()};
    QString source;
    SaveRequest request;
    RemovalSet removals;
};

} // namespace twinscan::test
