#include "ui/cCommonDialog.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// The dialog answers the file chosen, or nothing when cancelled. The filter's pairs are split at
// bars and colons, "*.*" shows files without an extension too, the 1-based index picks the shown
// filter, and a remembered name too long for the dialog still opens it, in its folder.
TEST(CommonDialog, AnswersTheChosenFileOrNothing)
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("notes"));
    for (const bool accept : {true, false}) {
        cCommonDialog dialogs;
        dialogs.exec = [&](QFileDialog &dialog) {
            EXPECT_EQ(dialog.directory().path(), dir.path());
            EXPECT_EQ(dialog.nameFilters(),
                QStringList(
                    {QStringLiteral("All Files (*)"), QStringLiteral("Text (*.txt *.text)")}));
            EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Text (*.txt *.text)"));
            dialog.selectFile(chosen);
            return accept ? QDialog::Accepted : QDialog::Rejected;
        };
        FileDialogRequest request;
        request.initialFile = dir.filePath(QString(cCommonDialog::maxPath, u'a'));
        request.filter = QStringLiteral("All Files (*.*)|*.*|Text:*.txt;*.text");
        request.filterIndex = 2;
        EXPECT_EQ(dialogs.saveFile(request), accept ? chosen : QString());
    }
}

} // namespace
} // namespace twinscan
