#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// Qt's file dialog writes its history, and the program its per-user files, wherever these point:
// never into the home of the person running the tests.
TEST(TestIsolation, PerUserFoldersLieOutsideTheHome)
{
    for (const auto location : {QStandardPaths::GenericConfigLocation,
             QStandardPaths::GenericDataLocation, QStandardPaths::GenericCacheLocation}) {
        const QString folder = QStandardPaths::writableLocation(location);
        EXPECT_FALSE(folder.startsWith(QDir::homePath() + u'/')) << folder.toStdString();
    }
}

} // namespace
} // namespace twinscan
