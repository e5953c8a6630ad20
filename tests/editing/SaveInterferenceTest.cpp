// The save over the source between its own steps: other programs changing the source, and every
// system call failing in turn.

#include "SaveFixture.h"
#include "editing/TemporaryFile.h"

#include <filesystem>
#include <set>

using namespace twinscan;
using namespace twinscan::test;
using namespace Qt::StringLiterals;

namespace {

using SaveInterference = SaveFixture;

// Another program changes the source while it is saved: the save notices before it replaces
// anything and leaves the source as the other program left it. Each change is made as the save
// is about to sync what it wrote, or, for an edit that keeps the size and every stamp (times too
// coarse to show it), as the save reads the source: only the bytes differ.
TEST_F(SaveInterference, ChangesDuringTheSaveAreRefused)
{
    ASSERT_TRUE(QFile::link(path("a.txt"), path("link.txt")));
    const struct
    {
        const char *name;
        const char *scanned; // the name the source is scanned and saved under
        std::function<void(SaveInterference &)> change;
        std::string after; // the bytes under that name afterwards
        Call when = Call::Fsync;
    } cases[] = {
        {"a byte flipped as it is read", "a.txt", {}, input, Call::Read},
        {"grown after the last read", "a.txt",
            [](SaveInterference &t) { writeBytes(t.source, t.input + "more\n"); },
            input + "more\n"},
        {"an editor saves by rename", "a.txt",
            [](SaveInterference &t) {
                writeBytes(t.path("editor.tmp"), "edited\n");
                ASSERT_EQ(std::rename(t.path("editor.tmp").toUtf8(), t.source.toUtf8()), 0);
            },
            "edited\n"},
        // The file read stays as it was; only its name now shows another file.
        {"a link pointed elsewhere", "link.txt",
            [](SaveInterference &t) {
                writeBytes(t.path("other.txt"), "other\n");
                ASSERT_TRUE(QFile::remove(t.source) && QFile::link(t.path("other.txt"), t.source));
            },
            "other\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        scan(input, {4}, c.scanned);
        bool changed = false;
        const SystemCallHook hook([&](Call call, int) {
            if (call != c.when || changed)
                return Fault {};
            changed = true;
            if (c.change)
                c.change(*this);
            return c.change ? Fault {} : Fault {Fault::FlipByte, 0};
        });
        const SaveResult result = saveTo(source);
        EXPECT_TRUE(changed);
        expectOutcome(result, SaveStatus::SourceChanged, source, c.after);
    }
}

// Each system call of a real save fails in turn, or returns short. After each: no temporary file,
// and either the complete result or the source as it was, with an error. A call that fails before
// the rename commits never ends in success, unless it only closes a descriptor before anything was
// written; one after the rename cannot undo it. A short transfer is
// continued, and an interrupted open, read, write or sync is made again.
TEST_F(SaveInterference, EveryCallFailsSafely)
{
    const Fault faults[]
        = {{Fault::Error, EIO}, {Fault::Error, ENOSPC}, {Fault::Error, EINTR}, {Fault::Short, 0}};
    scanInput();
    const std::vector<Call> calls = [this] {
        const SystemCallHook counter;
        EXPECT_EQ(saveTo(source).status, SaveStatus::Completed);
        return counter.calls();
    }();
    const auto rename = std::find(calls.begin(), calls.end(), Call::Rename) - calls.begin();
    const auto firstWrite = std::find(calls.begin(), calls.end(), Call::Write) - calls.begin();
    for (const Fault &fault : faults) {
        for (int failing = 0; failing < int(calls.size()); ++failing) {
            SCOPED_TRACE(testing::Message()
                << "call " << failing << " of " << calls.size() << ", fault " << fault.kind << " "
                << std::strerror(fault.errorNumber));
            scanInput();
            const SystemCallHook hook(
                [&](Call, int index) { return index == failing ? fault : Fault {}; });
            const SaveResult result = saveTo(source);
            const bool completed = result.status == SaveStatus::Completed;
            EXPECT_EQ(readBytes(source), completed ? saved : input);
            EXPECT_EQ(completed, result.message.isEmpty());
            // The folders the save looks through are closed before anything is written.
            const bool closesUnwritten
                = calls[std::size_t(failing)] == Call::Close && failing < firstWrite;
            const bool retried = fault.errorNumber == EINTR
                && std::set {Call::Open, Call::Read, Call::Write, Call::Fsync}.count(
                    calls[std::size_t(failing)]);
            if (fault.kind == Fault::Short || failing > rename || retried) {
                EXPECT_TRUE(completed) << result.message.toStdString();
            } else if (fault.errorNumber != EINTR && !closesUnwritten) {
                EXPECT_FALSE(completed);
            }
            EXPECT_TRUE(leftovers().isEmpty());
        }
    }
}

// A file with a second name is written in place once the result is whole in the temporary file.
// A write failing in that copy, at its start or half-way, may leave the file part new, part old:
// the temporary file stays, whole, and the message says where.
TEST_F(SaveInterference, AFailedCopyInPlaceKeepsTheWholeResult)
{
    std::string big;
    for (int i = 0; i < 300000; ++i) // several buffers of the copy
        big += "line " + std::to_string(i) + "\n";
    const std::string result = big;
    big += "line 7\n";
    writeBytes(path("a.txt"), big);
    std::filesystem::create_hard_link(path("a.txt").toStdString(), path("b.txt").toStdString());
    scan(big, {300001});
    const std::vector<Call> calls = [this] {
        const SystemCallHook counter;
        EXPECT_EQ(saveTo(source).status, SaveStatus::Completed);
        return counter.calls();
    }();
    EXPECT_EQ(readBytes(path("b.txt")), result);
    // The copy's writes come after its last open, that of the file itself.
    const auto lastOpen = std::find(calls.rbegin(), calls.rend(), Call::Open).base();
    std::vector<int> copyWrites;
    for (auto call = lastOpen; call != calls.end(); ++call) {
        if (*call == Call::Write)
            copyWrites.push_back(int(call - calls.begin()));
    }
    ASSERT_GE(copyWrites.size(), 2u);
    for (const int failing : {copyWrites[0], copyWrites[1]}) {
        writeBytes(path("a.txt"), big);
        scan(big, {300001});
        const SystemCallHook hook([&](Call call, int index) {
            return call == Call::Write && index == failing ? Fault {Fault::Error, ENOSPC}
                                                           : Fault {};
        });
        const SaveResult failed = saveTo(source);
        EXPECT_EQ(failed.status, SaveStatus::Failed);
        const QStringList kept = leftovers();
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(readBytes(dir.filePath(kept.first())), result);
        EXPECT_TRUE(failed.message.endsWith(QStringLiteral(". The saved text is kept whole in %1.")
                                                .arg(dir.filePath(kept.first()))))
            << failed.message.toStdString();
        EXPECT_NE(readBytes(path("b.txt")), result);
        QFile::remove(dir.filePath(kept.first()));
    }
    // Another file renamed onto the name just before the copy is not written.
    writeBytes(path("a.txt"), big);
    scan(big, {300001});
    writeBytes(path("other.txt"), "other\n");
    const SystemCallHook hook([&](Call call, int) {
        if (call == Call::Link)
            ::rename(QFile::encodeName(path("other.txt")), QFile::encodeName(source));
        return Fault {};
    });
    const SaveResult refused = saveTo(source);
    EXPECT_EQ(refused.status, SaveStatus::Failed);
    EXPECT_TRUE(refused.message.endsWith(u"another file took its name during the save"_s));
    EXPECT_EQ(readBytes(source), "other\n");
    EXPECT_TRUE(leftovers().isEmpty());
}

// Another program swaps a folder on the way to the target for a link to another folder once the
// save has looked at the path: the result goes where the save looked, never through the link.
TEST_F(SaveInterference, AFolderSwappedForALinkAfterTheCheckIsNotFollowed)
{
    scanInput();
    ASSERT_TRUE(dir.mkdir(u"sub"_s) && dir.mkdir(u"elsewhere"_s));
    bool swapped = false;
    useNamedTemporaryFiles([&](int, const char *name) {
        const QByteArray opened(name);
        if (!swapped && (opened == "." || opened.endsWith("/sub"))) {
            swapped = QFile::rename(path("sub"), path("looked-at"))
                && QFile::link(path("elsewhere"), path("sub"));
        }
    });
    const SaveResult result = saveTo(path("sub/out.txt"));
    EXPECT_TRUE(swapped);
    EXPECT_EQ(result.status, SaveStatus::Completed) << result.message.toStdString();
    EXPECT_FALSE(QFile::exists(path("elsewhere/out.txt")));
    EXPECT_EQ(readBytes(path("looked-at/out.txt")), saved);
}

// Another user plants a link to their own file under the name the save picks for its temporary
// file, just before the save opens it: the save must take another name, never write through it.
TEST_F(SaveInterference, ALinkPlantedUnderTheTemporaryNameIsNeverFollowed)
{
    scanInput();
    const QByteArray victim = QFile::encodeName(path("victim.txt"));
    bool planted = false;
    writeBytes(path("victim.txt"), "victim\n");
    useNamedTemporaryFiles([&](int folder, const char *name) {
        if (!planted && QByteArray(name).startsWith(TemporaryFile::prefix))
            planted = ::symlinkat(victim.constData(), folder, name) == 0;
    });
    const SaveResult result = saveTo(source);
    EXPECT_TRUE(planted);
    EXPECT_EQ(result.status, SaveStatus::Completed);
    EXPECT_EQ(readBytes(path("victim.txt")), "victim\n");
    EXPECT_EQ(readBytes(source), saved);
}

} // namespace
