#pragma once

#include "ui/FileDialogService.h"

#include <QStringList>
#include <array>
#include <functional>

class QFileDialog;

namespace twinscan {

// The desktop's file dialogs behind plain calls whose arguments come back changed. The main
// window reaches them through FileDialogService.
class cCommonDialog final : public FileDialogService
{
public:
    // Dialog flags the calls understand.
    static constexpr qint32 ofnReadOnly = 0x1;
    static constexpr qint32 ofnOverwritePrompt = 0x2;
    static constexpr qint32 ofnHideReadOnly = 0x4;
    static constexpr qint32 ofnAllowMultiSelect = 0x200;
    static constexpr qint32 ofnFileMustExist = 0x1000;
    // Names longer than this cannot be handed to the dialog.
    static constexpr int maxPath = 260;

    cCommonDialog();

    qint32 APIReturn() const { return apiReturn_; }
    qint32 ExtendedError() const { return extendedError_; }

    // Both answer true with the chosen file in Filename, its name in FileTitle, the chosen
    // filter as description, NUL, pattern in Filter, and its 1-based FilterIndex. A cancel
    // answers false with those emptied. An owner of null stands for none. A Filename or
    // FileTitle over maxPath characters throws std::invalid_argument before any dialog shows.
    bool VBGetOpenFileName(QString &Filename, QString &FileTitle, bool FileMustExist,
        bool MultiSelect, bool &ReadOnly, bool HideReadOnly, QString &Filter, qint32 &FilterIndex,
        const QString &InitDir, const QString &DlgTitle, const QString &DefaultExt, QWidget *Owner,
        qint32 &flags);
    bool VBGetSaveFileName(QString &Filename, QString &FileTitle, bool OverWritePrompt,
        QString &Filter, qint32 &FilterIndex, const QString &InitDir, const QString &DlgTitle,
        const QString &DefaultExt, QWidget *Owner, qint32 &flags);
    // The file's name without its folder; empty for an empty path.
    QString VBGetFileTitle(const QString &sFile) const;

    // Sixteen colours kept for a colour dialog; -1 outside 0..15, where writes are ignored.
    qint32 CustomColor(int i) const;
    void setCustomColor(int i, qint32 color);

    QString openFile(const FileDialogRequest &request) override;
    QString saveFile(const FileDialogRequest &request) override;

    // "Label|pattern|Label:pattern" as Qt name filters. "*.*" becomes "*": on Linux a file
    // name need not have a dot.
    static QStringList nameFilters(const QString &filter);

    // Shows the dialog and tells how it was closed (QDialog::Accepted or Rejected). Tests
    // answer in place of a person.
    std::function<int(QFileDialog &)> exec;

private:
    struct Call;
    bool run(Call &call);

    qint32 apiReturn_ = 0;
    qint32 extendedError_ = 0;
    mutable std::array<qint32, 16> customColors_ {};
    mutable bool customColorsFilled_ = false;
};

} // namespace twinscan
