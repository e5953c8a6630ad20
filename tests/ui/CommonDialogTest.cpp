#include "ui/cCommonDialog.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// The dialog starts as asked, with the filter's pairs split at bars and colons; its answer comes
// back in the arguments, which a cancel empties.
TEST(CommonDialog, OpenAnswersInItsArguments)
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("notes.txt"));
    QFile(chosen).open(QIODevice::WriteOnly);
    for (const bool accept : {true, false}) {
        SCOPED_TRACE(accept);
        cCommonDialog dialogs;
        dialogs.exec = [&](QFileDialog &dialog) {
            EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
            EXPECT_EQ(dialog.nameFilters(),
                QStringList(
                    {QStringLiteral("All Files (*)"), QStringLiteral("Text (*.txt *.text)")}));
            EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("All Files (*)"));
            EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("txt"));
            dialog.selectNameFilter(QStringLiteral("Text (*.txt *.text)"));
            dialog.selectFile(chosen);
            return accept ? QDialog::Accepted : QDialog::Rejected;
        };
        QString file = dir.filePath(QStringLiteral("last.txt")), title;
        QString filter = QStringLiteral("All Files (*.*)|*.*|Text:*.txt;*.text");
        qint32 index = 1, flags = 0;
        bool readOnly = false;
        EXPECT_EQ(dialogs.VBGetOpenFileName(file, title, true, false, readOnly, false, filter,
                      index, {}, {}, QStringLiteral("TXT"), nullptr, flags),
            accept);
        EXPECT_EQ(file, accept ? chosen : QString());
        EXPECT_EQ(title, accept ? QStringLiteral("notes.txt") : QString());
        EXPECT_EQ(filter,
            accept ? QStringLiteral("Text") + QChar(0) + QStringLiteral("*.txt;*.text")
                   : QString());
        EXPECT_EQ(index, accept ? 2 : 0);
    }
}

// A remembered name too long for the dialog is left out, and the dialog opens in its folder.
TEST(CommonDialog, OpensInTheFolderOfANameTooLongForIt)
{
    cCommonDialog dialogs;
    QString folder;
    dialogs.exec = [&](QFileDialog &dialog) {
        folder = dialog.directory().path();
        return int(QDialog::Rejected);
    };
    FileDialogRequest request;
    request.initialFile = QStringLiteral("/tmp/") + QString(cCommonDialog::maxPath, u'a');
    EXPECT_EQ(dialogs.saveFile(request), QString());
    EXPECT_EQ(folder, QStringLiteral("/tmp"));
}

} // namespace
} // namespace twinscan
