#include "ui/cCommonDialog.h"

#include "ui/OleColor.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <stdexcept>

namespace twinscan {

// What one file dialog call is asked with and answers in.
struct cCommonDialog::Call
{
    QString &Filename;
    QString &FileTitle;
    QString &Filter;
    qint32 &FilterIndex;
    qint32 &flags;
    const QString &InitDir;
    const QString &DlgTitle;
    const QString &DefaultExt;
    QWidget *Owner;
    QFileDialog::AcceptMode mode;
};

namespace {
// Hook and template flags would ask for code of ours inside the dialog.
constexpr qint32 hookAndTemplate = 0x20 | 0x40;

// Description and pattern pairs; a bar and a colon both separate.
QStringList filterParts(const QString &filter)
{
    return filter.split(QRegularExpression(QStringLiteral("[|:]")));
}

// The file and the folder a dialog starts at. A remembered name too long for the dialog is left
// out, so that the dialog still opens, in that file's folder.
std::pair<QString, QString> startingPoint(const FileDialogRequest &request)
{
    if (request.initialFile.size() <= cCommonDialog::maxPath)
        return {request.initialFile, request.initialFolder};
    return {QString(), QFileInfo(request.initialFile).absolutePath()};
}

void configure(QFileDialog &dialog, const QStringList &filters, qint32 flags, qint32 index,
    const QString &initDir, const QString &defaultExt, const QString &initialFile)
{
    const bool multi = flags & cCommonDialog::ofnAllowMultiSelect;
    dialog.setFileMode(dialog.acceptMode() == QFileDialog::AcceptSave ? QFileDialog::AnyFile
            : !(flags & cCommonDialog::ofnFileMustExist)              ? QFileDialog::AnyFile
            : multi                                                   ? QFileDialog::ExistingFiles
                                                                      : QFileDialog::ExistingFile);
    dialog.setOption(
        QFileDialog::DontConfirmOverwrite, !(flags & cCommonDialog::ofnOverwritePrompt));
    dialog.setNameFilters(filters);
    if (index >= 1 && index <= filters.size())
        dialog.selectNameFilter(filters.at(index - 1));
    // Linux file names are case-sensitive and end in lower case by custom.
    dialog.setDefaultSuffix(defaultExt.toLower());
    if (!initDir.isEmpty())
        dialog.setDirectory(initDir);
    if (!initialFile.isEmpty()) {
        const QFileInfo initial(initialFile);
        if (initialFile.contains(QLatin1Char('/')))
            dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
}
} // namespace

cCommonDialog::cCommonDialog() : exec([](QFileDialog &dialog) { return dialog.exec(); }) { }

bool cCommonDialog::VBGetOpenFileName(QString &Filename, QString &FileTitle, bool FileMustExist,
    bool MultiSelect, bool &ReadOnly, bool HideReadOnly, QString &Filter, qint32 &FilterIndex,
    const QString &InitDir, const QString &DlgTitle, const QString &DefaultExt, QWidget *Owner,
    qint32 &flags)
{
    flags = (FileMustExist ? ofnFileMustExist : 0) | (MultiSelect ? ofnAllowMultiSelect : 0)
        | (HideReadOnly ? ofnHideReadOnly : 0) | (ReadOnly ? ofnReadOnly : 0)
        | (flags & ~hookAndTemplate);
    Call call {Filename, FileTitle, Filter, FilterIndex, flags, InitDir, DlgTitle, DefaultExt,
        Owner, QFileDialog::AcceptOpen};
    const bool chosen = run(call);
    if (chosen)
        ReadOnly = flags & ofnReadOnly;
    return chosen;
}

bool cCommonDialog::VBGetSaveFileName(QString &Filename, QString &FileTitle, bool OverWritePrompt,
    QString &Filter, qint32 &FilterIndex, const QString &InitDir, const QString &DlgTitle,
    const QString &DefaultExt, QWidget *Owner, qint32 &flags)
{
    flags
        = (OverWritePrompt ? ofnOverwritePrompt : 0) | ofnHideReadOnly | (flags & ~hookAndTemplate);
    Call call {Filename, FileTitle, Filter, FilterIndex, flags, InitDir, DlgTitle, DefaultExt,
        Owner, QFileDialog::AcceptSave};
    return run(call);
}

bool cCommonDialog::run(Call &call)
{
    apiReturn_ = 0;
    extendedError_ = 0;
    if (call.Filename.size() > maxPath || call.FileTitle.size() > maxPath)
        throw std::invalid_argument("file name longer than the dialog's buffer");
    const QStringList filters = nameFilters(call.Filter);
    QFileDialog dialog(call.Owner, call.DlgTitle);
    dialog.setAcceptMode(call.mode);
    configure(dialog, filters, call.flags, call.FilterIndex, call.InitDir, call.DefaultExt,
        call.Filename);
    apiReturn_ = exec(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? 1 : 0;
    if (apiReturn_ != 1) {
        call.Filename.clear();
        call.FileTitle.clear();
        call.Filter.clear();
        call.flags = 0;
        call.FilterIndex = 0;
        return false;
    }
    call.Filename = dialog.selectedFiles().constFirst();
    call.FileTitle = VBGetFileTitle(call.Filename);
    call.FilterIndex = qint32(filters.indexOf(dialog.selectedNameFilter()) + 1);
    const QStringList parts = filterParts(call.Filter);
    const qsizetype pair = 2 * (call.FilterIndex - 1);
    call.Filter = pair >= 0 && pair + 1 < parts.size()
        ? parts.at(pair) + QChar(0) + parts.at(pair + 1)
        : QString();
    return true;
}

QString cCommonDialog::VBGetFileTitle(const QString &sFile) const
{
    return QFileInfo(sFile).fileName();
}

qint32 cCommonDialog::CustomColor(int i) const
{
    if (i < 0 || i >= int(customColors_.size()))
        return -1;
    if (!customColorsFilled_) {
        for (int index = 0; index < int(customColors_.size()); ++index) {
            const QColor color
                = fillColor(systemColor(index), QApplication::palette()).value_or(Qt::black);
            customColors_[std::size_t(index)]
                = qint32(color.red() | color.green() << 8 | color.blue() << 16);
        }
        customColorsFilled_ = true;
    }
    return customColors_[std::size_t(i)];
}

void cCommonDialog::setCustomColor(int i, qint32 color)
{
    if (i < 0 || i >= int(customColors_.size()))
        return;
    CustomColor(i);
    customColors_[std::size_t(i)] = color;
}

QString cCommonDialog::openFile(const FileDialogRequest &request)
{
    auto [file, folder] = startingPoint(request);
    QString title;
    QString filter = request.filter;
    qint32 index = request.filterIndex;
    bool readOnly = false;
    qint32 flags = ofnHideReadOnly;
    return VBGetOpenFileName(file, title, request.mustExist, false, readOnly, false, filter, index,
               folder, request.title, request.defaultExtension, request.owner, flags)
        ? file
        : QString();
}

QString cCommonDialog::saveFile(const FileDialogRequest &request)
{
    auto [file, folder] = startingPoint(request);
    QString title;
    QString filter = request.filter;
    qint32 index = request.filterIndex;
    qint32 flags = 0;
    return VBGetSaveFileName(file, title, request.overwritePrompt, filter, index, folder,
               request.title, request.defaultExtension, request.owner, flags)
        ? file
        : QString();
}

QStringList cCommonDialog::nameFilters(const QString &filter)
{
    const QStringList parts = filterParts(filter);
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
