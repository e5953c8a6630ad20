#include "ui/RecentFilesMenu.h"

#include "engine/FileName.h"

#include <QDir>
#include <QFontMetrics>
#include <QMenu>
#include <QToolButton>

namespace twinscan {

using namespace Qt::StringLiterals;

namespace {
// Long enough for most paths, short enough that the menu stays beside the button.
constexpr int shownNameChars = 60;

// An entry's text: its number as the key that chooses it, and the name, shortened in the middle
// when long, with any "&" shown as one.
QString entryText(int index, const QString &file, const QFontMetrics &metrics)
{
    QString name = metrics.elidedText(QDir::toNativeSeparators(shownFileName(file)),
        Qt::ElideMiddle, metrics.averageCharWidth() * shownNameChars);
    name.replace(u'&', u"&&"_s);
    const QString number = index < 9 ? u"&%1"_s.arg(index + 1) : u"1&0"_s;
    return number + u"  "_s + name;
}
} // namespace

RecentFilesMenu::RecentFilesMenu(QToolButton *button, std::function<QStringList()> files,
    std::function<void(const QString &)> chosen)
    : QObject(button),
      button_(button),
      menu_(new QMenu(button)),
      files_(std::move(files)),
      chosen_(std::move(chosen))
{
    menu_->setObjectName(u"mnuRecentFiles"_s);
    menu_->setToolTipsVisible(true);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this, &RecentFilesMenu::popUp);
}

// The choice arrives after the menu has closed, so that a scan it starts runs in a window that
// nothing covers.
void RecentFilesMenu::popUp(const QPoint &at)
{
    if (!button_->isEnabled())
        return;
    menu_->clear();
    const QStringList files = files_();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        QAction *entry = menu_->addAction(entryText(i, file, menu_->fontMetrics()));
        entry->setToolTip(QDir::toNativeSeparators(shownFileName(file)));
        connect(
            entry, &QAction::triggered, this, [this, file] { chosen_(file); },
            Qt::QueuedConnection);
    }
    if (files.isEmpty())
        menu_->addAction(QObject::tr("No recent files"))->setEnabled(false);
    menu_->popup(button_->mapToGlobal(at));
}

} // namespace twinscan
