#pragma once

#include "ui/FileDialogService.h"

#include <QStringList>

namespace twinscan {

// The desktop's file dialogs.
class cCommonDialog final : public FileDialogService
{
public:
    QString openFile(const FileDialogRequest &request) override;
    QString saveFile(const FileDialogRequest &request) override;

    // "Label|pattern|Label|pattern" as Qt name filters. "*.*" becomes "*": on Linux a file
    // name need not have a dot.
    static QStringList nameFilters(const QString &filter);
};

} // namespace twinscan
