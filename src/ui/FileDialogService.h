#pragma once

#include <QString>

class QWidget;

namespace twinscan {

// What an open or save dialog is asked with. The filter is a list of label and pattern pairs
// separated by vertical bars, as in "All Files (*.*)|*.*|Text Files (*.txt)|*.txt"; the filter
// index is 1-based.
struct FileDialogRequest
{
    QString initialFile;
    QString filter;
    int filterIndex = 1;
    QString defaultExtension;
    QString title;
    QString initialFolder;
    bool mustExist = false;
    bool overwritePrompt = false;
    QWidget *owner = nullptr;
};

// Asks the user for a file; an empty name means the dialog was cancelled. Tests script it.
class FileDialogService
{
public:
    virtual ~FileDialogService() = default;
    virtual QString openFile(const FileDialogRequest &request) = 0;
    virtual QString saveFile(const FileDialogRequest &request) = 0;
};

} // namespace twinscan
