#include "ui/cCommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace twinscan {

namespace {
QString run(const FileDialogRequest &request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(request.owner, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const QStringList filters = cCommonDialog::nameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension.toLower());
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    if (!request.initialFile.isEmpty()) {
        const QFileInfo initial(request.initialFile);
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString cCommonDialog::openFile(const FileDialogRequest &request)
{
    return run(request, QFileDialog::AcceptOpen);
}

QString cCommonDialog::saveFile(const FileDialogRequest &request)
{
    return run(request, QFileDialog::AcceptSave);
}

QStringList cCommonDialog::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        QString label = parts.at(i);
        const qsizetype paren = label.indexOf(QLatin1Char('('));
        if (paren >= 0)
            label.truncate(paren);
        filters << QStringLiteral("%1 (%2)").arg(
            label.trimmed(), patterns.replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return filters;
}

} // namespace twinscan
