#include "ui/cCommonDialog.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

TEST(CommonDialog, SplitsFiltersAtBarsAndColons)
{
    const std::pair<QString, QStringList> rows[] = {
        {QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"),
            {QStringLiteral("All Files (*)"), QStringLiteral("Text Files (*.txt)")}},
        {QStringLiteral("Text:*.txt|Logs|*.log;*.old"),
            {QStringLiteral("Text (*.txt)"), QStringLiteral("Logs (*.log *.old)")}},
    };
    for (const auto &[filter, expected] : rows)
        EXPECT_EQ(cCommonDialog::nameFilters(filter), expected);
}

struct CallRow
{
    const char *what;
    bool accept;
    bool expected;
    QString filename;
    QString filter;
    qint32 filterIndex;
};

// The dialog starts as asked; its answer comes back in the arguments.
TEST(CommonDialog, OpenAnswersInItsArguments)
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("notes.txt"));
    QFile(chosen).open(QIODevice::WriteOnly);
    const CallRow rows[] = {
        {"chosen", true, true, chosen,
            QStringLiteral("Text Files (*.txt)") + QChar(0) + QStringLiteral("*.txt"), 2},
        {"cancelled", false, false, QString(), QString(), 0},
    };
    for (const CallRow &row : rows) {
        SCOPED_TRACE(row.what);
        cCommonDialog dialogs;
        dialogs.exec = [&](QFileDialog &dialog) {
            EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
            EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("All Files (*)"));
            EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("txt"));
            dialog.selectNameFilter(dialog.nameFilters().at(1));
            dialog.selectFile(chosen);
            return row.accept ? QDialog::Accepted : QDialog::Rejected;
        };
        QString file = dir.filePath(QStringLiteral("last.txt"));
        QString title;
        QString filter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
        qint32 index = 1;
        bool readOnly = false;
        qint32 flags = 4;
        EXPECT_EQ(dialogs.VBGetOpenFileName(file, title, true, false, readOnly, false, filter,
                      index, {}, {}, QStringLiteral("TXT"), nullptr, flags),
            row.expected);
        EXPECT_EQ(file, row.filename);
        EXPECT_EQ(title, row.accept ? QStringLiteral("notes.txt") : QString());
        EXPECT_EQ(filter, row.filter);
        EXPECT_EQ(index, row.filterIndex);
        EXPECT_EQ(flags, row.accept ? 0x1004 : 0);
        EXPECT_EQ(dialogs.APIReturn(), row.accept ? 1 : 0);
    }
}

TEST(CommonDialog, RefusesANameLongerThanItsBufferBeforeShowing)
{
    cCommonDialog dialogs;
    dialogs.exec = [](QFileDialog &) {
        ADD_FAILURE() << "shown";
        return int(QDialog::Rejected);
    };
    QString file(261, QLatin1Char('a'));
    QString title, filter;
    qint32 index = 1, flags = 0;
    EXPECT_THROW(
        dialogs.VBGetSaveFileName(file, title, true, filter, index, {}, {}, {}, nullptr, flags),
        std::invalid_argument);
    // The main window's dialog opens anyway, in the file's folder.
    QString folder;
    dialogs.exec = [&](QFileDialog &dialog) {
        folder = dialog.directory().path();
        return int(QDialog::Rejected);
    };
    FileDialogRequest request;
    request.initialFile = QStringLiteral("/tmp/") + file;
    EXPECT_EQ(dialogs.saveFile(request), QString());
    EXPECT_EQ(folder, QStringLiteral("/tmp"));
}

} // namespace
} // namespace twinscan
