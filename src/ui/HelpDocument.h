#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QWidget;

namespace twinscan {

class MessageBoxService;
class ShellService;

// Where the help document may be, in the order looked at: beside the program (the build tree, an
// unpacked folder), then in the data folder of the installed tree.
QStringList helpDocumentCandidates(
    const QString &programFolder = QCoreApplication::applicationDirPath());

// The first candidate that exists; empty when none does.
QString helpDocumentPath(const QString &programFolder = QCoreApplication::applicationDirPath());

// Asks the desktop to open the help document. A missing document or a refusal is told in a
// message box titled `title`, so that F1 never fails silently.
void openHelpDocument(QWidget *owner, ShellService &shell, MessageBoxService &messages,
    const QString &title, const QString &programFolder = QCoreApplication::applicationDirPath());

} // namespace twinscan
