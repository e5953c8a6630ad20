#include "ui/cCommonDialog.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

// The dialog answers the file chosen, or nothing when cancelled. "*.*" shows files without an
// extension too, and a remembered name too long for the dialog still opens it, in its folder.
TEST(CommonDialog, AnswersTheChosenFileOrNothing)
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("notes"));
    for (const bool accept : {true, false}) {
        cCommonDialog dialogs;
        dialogs.exec = [&](QFileDialog &dialog) {
            EXPECT_EQ(dialog.directory().path(), dir.path());
            EXPECT_EQ(dialog.nameFilters(), QStringList {QStringLiteral("All Files (*)")});
            dialog.selectFile(chosen);
            return accept ? QDialog::Accepted : QDialog::Rejected;
        };
        FileDialogRequest request;
        request.initialFile = dir.filePath(QString(cCommonDialog::maxPath, u'a'));
        request.filter = QStringLiteral("All Files (*.*)|*.*");
        EXPECT_EQ(dialogs.saveFile(request), accept ? chosen : QString());
    }
}

} // namespace
} // namespace twinscan
