#pragma once

// Besides the fixture, what the save tests use throughout (also through the two headers first).
#include "../engine/EngineTestSupport.h"
#include "SystemCallHook.h"
#include "editing/RemovalWriter.h"
#include "engine/FileStamp.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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
        text = TextLoader::load(source).text;
        ASSERT_TRUE(text);
        request.sourceFile = source;
        request.scannedStamp = text->stamp();
        request.scannedHash = text->contentHash();
        request.scanned = text;
        request.lastLineIndex = text->lineCount() - 1;
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
    // What a save ended in: its status, the bytes under `file`, and no temporary file left.
    void expectOutcome(
        const SaveResult &result, SaveStatus status, const QString &file, const std::string &bytes)
    {
        EXPECT_EQ(result.status, status) << result.message.toStdString();
        EXPECT_EQ(readBytes(file), bytes);
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
    }

    QTemporaryDir temporary;
    QDir dir {temporary.path()};
    QString source;
    std::shared_ptr<LoadedText> text; // the source as scanned
    SaveRequest request;
    RemovalSet removals;
};

} // namespace twinscan::test
