#include "app/ListInteractions.h"

#include "app/Module.h"
#include "app/ScanSession.h"
#include "engine/GroupOrder.h"
#include "ui/ListBoxModel.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <optional>

namespace twinscan {

namespace {
// The file a drop would scan: the first of a list of files, when it is a local one.
std::optional<QString> droppedFileOf(const QMimeData *data)
{
    if (module().isBusy || !data || !data->hasUrls() || data->urls().isEmpty())
        return std::nullopt;
    const QUrl first = data->urls().constFirst();
    if (!first.isLocalFile())
        return std::nullopt;
    return first.toLocalFile();
}

bool isMenuKey(const QKeyEvent &key)
{
    return key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier;
}

bool isCopyKey(QEvent *event)
{
    return event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy);
}

// The entry that a click or Copy Current is about, or -1.
int currentEntry(const ListViews &views, const ScanSession &session)
{
    const QModelIndex current = views.List2->currentIndex();
    if (!current.isValid() || current.row() >= session.lists().List2->ListCount())
        return -1;
    return views.List2Box->itemAt(current.row());
}
} // namespace

ListInteractions::ListInteractions(ListHost &host, const ListViews &views)
    : QObject(views.window), host_(host), views_(views)
{
    menu_.setupMenu(views.window);
    connect(menu_.mnuCopyAll, &QAction::triggered, this, &ListInteractions::mnuCopyAll_Click);
    connect(
        menu_.mnuCopyCurrent, &QAction::triggered, this, &ListInteractions::mnuCopyCurrent_Click);
    connect(
        menu_.mnuCopySelected, &QAction::triggered, this, &ListInteractions::mnuCopySelected_Click);
    const std::pair<QAction *, MarkRule> rules[] = {
        {menu_.mnuSelAll, MarkRule::All},
        {menu_.mnuUnsel, MarkRule::None},
        {menu_.mnuInvert, MarkRule::Invert},
        {menu_.mnuSelAllButFirst, MarkRule::AllButFirst},
        {menu_.mnuSelAllButLast, MarkRule::AllButLast},
    };
    for (const auto &[command, rule] : rules)
        connect(command, &QAction::triggered, this, [this, rule = rule] { host_.markBy(rule); });
    connect(menu_.mnuSortByCount, &QAction::triggered, this, [this] { sortByCount(true); });
    connect(menu_.mnuSortByFirst, &QAction::triggered, this, [this] { sortByCount(false); });
    const std::pair<QAction *, OutputKind> outputs[] = {
        {menu_.mnuSaveReport, OutputKind::Report},
        {menu_.mnuSaveDuplicates, OutputKind::Duplicates},
        {menu_.mnuSaveRemoved, OutputKind::Removed},
    };
    for (const auto &[command, kind] : outputs)
        connect(
            command, &QAction::triggered, this, [this, kind = kind] { host_.saveOutput(kind); });

    // The program moves the current entry too (the marking rules do, while bulkMarking is set);
    // a click on the entry that is already current shows its line again.
    connect(views.List2->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &ListInteractions::List2_Click);
    connect(views.List2, &QAbstractItemView::clicked, this, &ListInteractions::List2_Click);
    // A click on a check box toggles it without making its entry current; the user still means
    // that entry, so it becomes current and its line is shown.
    connect(views.List2Box, &ListBoxModel::checkToggled, this, [this](int row) {
        views_.List2->setCurrentIndex(views_.List2Box->index(row));
        List2_Click();
    });
    views.List2->installEventFilter(this);
    views.List2->viewport()->installEventFilter(this);
    views.lstShow->viewport()->setAcceptDrops(true);
    views.lstShow->viewport()->installEventFilter(this);
}

void ListInteractions::List2_Click()
{
    const ScanSession *session = host_.shownSession();
    if (host_.bulkMarking() || !session || !session->listed())
        return;
    const int entry = currentEntry(views_, *session);
    if (entry < 0)
        return;
    const QModelIndex line = views_.lstShowBox->index(session->lineOfEntry(entry));
    views_.lstShow->setCurrentIndex(line);
    views_.lstShow->scrollTo(line);
    const EntryGroup group = session->groupOfEntry(entry);
    host_.showStatus(tr("Line %1 \u00B7 duplicate %2 of %3")
                         .arg(line.row() + 1)
                         .arg(entry - group.first + 1)
                         .arg(group.size));
}

// A view order only: the entries, their marks and what the rules and the save see stay. The
// current entry stays current wherever it moved to.
void ListInteractions::sortByCount(bool byCount)
{
    const ScanSession *session = host_.shownSession();
    if (module().isBusy || !session || !session->listed() || views_.List2Box->ordered() == byCount)
        return;
    const int current = currentEntry(views_, *session);
    const auto listed = std::size_t(session->lists().List2->ListCount());
    views_.List2Box->setOrder(
        byCount ? entriesByGroupSize(session->lineEntries(), listed) : BulkArray<std::uint32_t>());
    int row = 0;
    while (current >= 0 && row < views_.List2Box->rowCount()
        && views_.List2Box->itemAt(row) != current)
        ++row;
    views_.List2->setCurrentIndex(views_.List2Box->index(current >= 0 ? row : 0));
    views_.List2->scrollTo(views_.List2->currentIndex());
}

void ListInteractions::List2_MouseUp(Qt::MouseButton button, QPoint globalPos)
{
    if (button == Qt::RightButton)
        showMenu(globalPos);
}

void ListInteractions::openMenuFromKeyboard()
{
    const QAbstractItemView &list = *views_.List2;
    const QRect entry = list.visualRect(list.currentIndex());
    const QPoint corner = entry.isValid() ? entry.bottomLeft() : QPoint(0, 0);
    showMenu(list.viewport()->mapToGlobal(corner));
}

// Refused while a scan or a save runs, so that no copy or marking starts during one. A large file
// that is not listed shows its placeholder: the menu is offered and works on the emulated lists,
// without Current, as there is no current entry.
void ListInteractions::showMenu(QPoint globalPos)
{
    const ScanSession *session = host_.shownSession();
    if (module().isBusy || views_.List2Box->rowCount() == 0 || !session)
        return;
    menu_.mnuCopyCurrent->setEnabled(session->listed());
    for (QAction *sort : {menu_.mnuSortByCount, menu_.mnuSortByFirst})
        sort->setEnabled(session->listed());
    // A scan past memory keeps no text to write from.
    for (QAction *save : {menu_.mnuSaveReport, menu_.mnuSaveDuplicates, menu_.mnuSaveRemoved})
        save->setEnabled(session->text() != nullptr);
    (views_.List2Box->ordered() ? menu_.mnuSortByCount : menu_.mnuSortByFirst)->setChecked(true);
    menu_.mnuPopup->popup(globalPos);
}

void ListInteractions::mnuCopyAll_Click()
{
    host_.copyEntries(CopyScope::All);
}

// Ctrl+C in the duplicates list copies the marked entries' lines, or without marks the current
// entry's line: the lines as read, never the entries' shown text.
void ListInteractions::copyForKey()
{
    const ScanSession *session = host_.shownSession();
    if (session && session->markedCount() > 0)
        mnuCopySelected_Click();
    else
        mnuCopyCurrent_Click();
}

void ListInteractions::mnuCopySelected_Click()
{
    host_.copyEntries(CopyScope::Marked);
}

// Without a current entry the clipboard keeps what it holds; an empty line empties it. Ctrl+C
// still reaches the list while a job runs, and must not start anything then.
void ListInteractions::mnuCopyCurrent_Click()
{
    if (module().isBusy)
        return;
    host_.startCommand();
    const ScanSession *session = host_.shownSession();
    if (!session || !session->text() || !session->listed())
        return;
    const int entry = currentEntry(views_, *session);
    if (entry < 0 || !host_.copyableText())
        return;
    QGuiApplication::clipboard()->clear();
    const QString line = session->text()->lineText(session->lineOfEntry(entry));
    if (!line.isEmpty())
        QGuiApplication::clipboard()->setText(line);
}

// The scan runs after the drop has been answered: the program the file came from waits for that
// answer, and a scan of a large file takes a while.
bool ListInteractions::lstShow_OLEDragDrop(const QMimeData *data)
{
    const std::optional<QString> file = droppedFileOf(data);
    if (!file)
        return false;
    QMetaObject::invokeMethod(
        this,
        [this, file = *file] {
            if (!module().isBusy)
                host_.scanDropped(file);
        },
        Qt::QueuedConnection);
    return true;
}

// Only a list of files is taken, never while a job runs. The file is only read, so the drop is a
// copy: a file manager must not take it for a move and delete the original.
bool ListInteractions::filterDrop(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const bool taken = event->type() == QEvent::Drop
            ? lstShow_OLEDragDrop(drop->mimeData())
            : droppedFileOf(drop->mimeData()).has_value();
        drop->setDropAction(Qt::CopyAction);
        drop->setAccepted(taken);
        return true;
    }
    default:
        return false;
    }
}

bool ListInteractions::eventFilter(QObject *watched, QEvent *event)
{
    const ListViews &ui = views_;
    if (watched == ui.List2->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        List2_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
    } else if (watched == ui.List2 && isCopyKey(event)) {
        copyForKey();
        return true;
    } else if (watched == ui.List2 && event->type() == QEvent::KeyPress
        && isMenuKey(*static_cast<QKeyEvent *>(event))) {
        openMenuFromKeyboard();
        return true;
    } else if (watched == ui.List2 && event->type() == QEvent::ContextMenu) {
        // The Menu key arrives as a keyboard context-menu request.
        if (static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard)
            openMenuFromKeyboard();
        return true;
    } else if (watched == ui.lstShow->viewport()) {
        return filterDrop(event);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace twinscan
