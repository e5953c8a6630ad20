#include "ui/HelpDocument.h"

#include "ui/MessageBoxService.h"
#include "ui/ShellService.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace twinscan {

namespace {
// The translation context of the help key's messages.
struct HelpDocument
{
    Q_DECLARE_TR_FUNCTIONS(HelpDocument)
};
} // namespace

QStringList helpDocumentCandidates(const QString &programFolder)
{
    const QDir folder(programFolder);
    // Beside the program in a build tree; in an installed tree under share/twinscan, not under
    // share/doc, which a system may install without.
    return {QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("ReadMe.html"))),
        QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("../share/twinscan/ReadMe.html")))};
}

QString helpDocumentPath(const QString &programFolder)
{
    for (const QString &candidate : helpDocumentCandidates(programFolder)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

void openHelpDocument(QWidget *owner, ShellService &shell, MessageBoxService &messages,
    const QString &title, const QString &programFolder)
{
    const QString path = helpDocumentPath(programFolder);
    QString problem;
    if (path.isEmpty()) {
        QStringList places = helpDocumentCandidates(programFolder);
        for (QString &place : places)
            place = QDir::toNativeSeparators(place);
        problem = HelpDocument::tr(
            "The help document was not found. It should be one of these files:\n%1")
                      .arg(places.join(u'\n'));
    } else if (!shell.openDocument(QUrl::fromLocalFile(path))) {
        problem = HelpDocument::tr("The help document %1 could not be opened: the desktop has no "
                                   "application to show it.")
                      .arg(QDir::toNativeSeparators(path));
    }
    if (!problem.isEmpty())
        messages.show(owner, title, problem, MessageButtons::Ok, MessageIcon::Exclamation);
}

} // namespace twinscan
