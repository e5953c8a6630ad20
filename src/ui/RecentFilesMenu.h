#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QMenu;
class QPoint;
class QToolButton;

namespace twinscan {

// The recent files as the context menu of a button (right click, or the menu key while it has
// the focus): the button keeps its look and its click. The menu asks for the files each time it
// opens, and hands on the one chosen.
class RecentFilesMenu final : public QObject
{
public:
    RecentFilesMenu(QToolButton *button, std::function<QStringList()> files,
        std::function<void(const QString &file)> chosen);
    QMenu *menu() const { return menu_; }

private:
    void popUp(const QPoint &at);

    QToolButton *button_;
    QMenu *menu_;
    std::function<QStringList()> files_;
    std::function<void(const QString &)> chosen_;
};

} // namespace twinscan
