// Full buffers written on a second thread while the caller fills the next one.

#include "SaveFixture.h"
#include "editing/OutputFile.h"

#include <fcntl.h>

namespace twinscan::test {
namespace {

using WriteBehindFile = SaveFixture;

// Pieces of every size up to beyond the buffer reach the file whole and in order; a write that
// fails on the writer's thread fails the calls after it, with its reason, and the close.
TEST_F(WriteBehindFile, KeepsTheOrderAndReportsAFailureOfTheWriter)
{
    const QString file = path("out.txt");
    for (const bool failing : {false, true}) {
        SCOPED_TRACE(failing);
        const SystemCallHook hook([&](Call call, int index) {
            return failing && call == Call::Write && index == 0 ? Fault {Fault::Error, ENOSPC}
                                                                : Fault {};
        });
        OutputFile out(8);
        out.adopt(FileDescriptor(::open(
            QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)));
        out.writeBehind();
        std::string expected;
        bool written = true;
        for (int i = 0; i < 300; ++i) {
            const std::string piece(std::size_t(i % 11), char('a' + i % 26));
            expected += piece;
            written = out.write(piece) && written;
        }
        written = out.close() && written;
        EXPECT_EQ(written, !failing);
        EXPECT_EQ(out.error(), failing ? systemReason(ENOSPC) : QString());
        if (!failing) {
            EXPECT_EQ(readBytes(file), expected);
        }
    }
}

} // namespace
} // namespace twinscan::test
