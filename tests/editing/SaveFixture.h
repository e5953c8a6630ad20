#pragma once

#include "../engine/EngineTestSupport.h"
#include "editing/RemovalWriter.h"
#include "engine/LoadedText.h"
#include "engine/SystemCalls.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <functional>
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

    // Makes the save write a named temporary file, as on file systems without unnamed ones;
    // `beforeOpen` sees every name opened, as another program could act just before.
    static void useNamedTemporaryFiles(std::function<void(int, const char *)> beforeOpen = {})
    {
        static std::function<void(int, const char *)> hook;
        hook = std::move(beforeOpen);
        systemCalls().openat = [](int folder, const char *name, int flags, mode_t mode) {
            if ((flags & O_TMPFILE) == O_TMPFILE)
                return errno = EOPNOTSUPP, -1;
            if (hook)
                hook(folder, name);
            return realSystemCalls().openat(folder, name, flags, mode);
        };
    }
    void TearDown() override { systemCalls() = realSystemCalls(); }

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
