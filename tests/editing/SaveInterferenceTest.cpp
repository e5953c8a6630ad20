// The save between its own steps: other programs changing the source, and every system call
// failing in turn.

#include "SaveFixture.h"
#include "SystemCallHook.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <functional>
#include <set>

using namespace twinscan;
using namespace twinscan::test;

namespace {

class SaveInterference : public SaveFixture
{
public:
    void scanBesideEarlierOutput()
    {
        scanInput();
        writeBytes(path("out.txt"), "earlier\n");
    }
    // The target of a row: the source itself, or an earlier output.
    QString target(bool overSource) const { return overSource ? source : path("out.txt"); }
};

// Another program changes the source while it is saved: the save notices before it replaces
// anything and leaves the source as the other program left it. Each change is made as the named
// call is about to be made for the first time.
TEST_F(SaveInterference, ChangesDuringTheSaveAreRefused)
{
    const auto append = [](SaveInterference &t) {
        QFile file(t.source);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("more\n");
    };
    const struct
    {
        const char *name;
        Call when;
        std::function<void(SaveInterference &)> change;
        std::string after; // the source's bytes afterwards
    } cases[] = {
        {"appended after the last read", Call::Fsync, append, input + "more\n"},
        {"an editor saves by rename", Call::Fsync,
            [](SaveInterference &t) {
                writeBytes(t.path("editor.tmp"), "edited\n");
                ASSERT_TRUE(
                    std::rename(t.path("editor.tmp").toUtf8(), t.source.toUtf8().constData()) == 0);
            },
            "edited\n"},
    };
    for (const auto &c : cases) {
        for (const bool overSource : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (overSource ? ", over the source" : ""));
            scanBesideEarlierOutput();
            request.targetFile = target(overSource);
            bool changed = false;
            const SystemCallHook hook([&](Call call, int) {
                if (call == c.when && !changed) {
                    changed = true;
                    c.change(*this);
                }
                return Fault {};
            });
            const SaveResult result = saveWithRemoval(request, removals);
            EXPECT_TRUE(changed);
            EXPECT_EQ(result.status, SaveStatus::SourceChanged) << result.message.toStdString();
            EXPECT_EQ(readBytes(source), c.after);
            EXPECT_EQ(readBytes(path("out.txt")), "earlier\n");
            EXPECT_TRUE(leftovers().isEmpty());
        }
    }
}

// An edit that keeps the size, and times that are too coarse to show it: only the bytes differ.
TEST_F(SaveInterference, AnEditThatKeepsEveryStampIsRefused)
{
    scanInput();
    const SystemCallHook hook([](Call call, int) {
        return call == Call::Read ? Fault {Fault::FlipByte, 0} : Fault {};
    });
    EXPECT_EQ(saveTo(source).status, SaveStatus::SourceChanged);
    EXPECT_EQ(readBytes(source), input);
    EXPECT_TRUE(leftovers().isEmpty());
}

// Each system call of a real save fails in turn, or returns short. After each: no temporary file,
// and either the complete result or the user's files as they were, with an error. A call that
// fails before the rename commits never ends in success; one after it cannot undo it. A short
// transfer is continued, and an interrupted open, read, write or sync is made again.
TEST_F(SaveInterference, EveryCallFailsSafely)
{
    const Fault faults[]
        = {{Fault::Error, EIO}, {Fault::Error, ENOSPC}, {Fault::Error, EINTR}, {Fault::Short, 0}};
    for (const bool overSource : {true, false}) {
        scanBesideEarlierOutput();
        request.targetFile = target(overSource);
        std::vector<Call> calls;
        {
            const SystemCallHook counter;
            ASSERT_EQ(saveWithRemoval(request, removals).status, SaveStatus::Completed);
            calls = counter.calls();
        }
        const auto rename = std::find(calls.begin(), calls.end(), Call::Rename) - calls.begin();
        for (const Fault &fault : faults) {
            for (int failing = 0; failing < int(calls.size()); ++failing) {
                SCOPED_TRACE(testing::Message()
                    << (overSource ? "over the source, " : "") << "call " << failing << " of "
                    << calls.size() << ", fault " << fault.kind << " "
                    << std::strerror(fault.errorNumber));
                scanBesideEarlierOutput();
                request.targetFile = target(overSource);
                const SystemCallHook hook(
                    [&](Call, int index) { return index == failing ? fault : Fault {}; });
                const SaveResult result = saveWithRemoval(request, removals);
                const bool completed = result.status == SaveStatus::Completed;
                const std::string before = overSource ? input : "earlier\n";
                EXPECT_EQ(readBytes(request.targetFile), completed ? saved : before);
                EXPECT_EQ(completed, result.message.isEmpty());
                const bool retried = fault.errorNumber == EINTR
                    && std::set {Call::Open, Call::Read, Call::Write, Call::Fsync}.count(
                        calls[std::size_t(failing)]);
                if (fault.kind == Fault::Short || failing > rename || retried) {
                    EXPECT_TRUE(completed) << result.message.toStdString();
                } else if (fault.errorNumber != EINTR) {
                    EXPECT_FALSE(completed);
                }
                EXPECT_TRUE(leftovers().isEmpty());
            }
        }
        RecordProperty(overSource ? "callsOverTheSource" : "callsToAnotherFile", int(calls.size()));
    }
}

} // namespace
