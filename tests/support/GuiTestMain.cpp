#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widget tests run on the offscreen platform unless told otherwise: no test may need a display.
// Qt's own dialogs keep their history in the user's configuration folder, and the program keeps
// per-user files in the data and cache folders: the tests get folders of their own, so that a
// run leaves nothing behind in the home of whoever runs it.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    const QTemporaryDir home;
    if (!home.isValid())
        return 2;
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QFile::encodeName(home.filePath(QString::fromLatin1(variable))));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
