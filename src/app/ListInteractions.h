#pragma once

#include "app/OutputCommand.h"
#include "editing/ClipboardText.h"
#include "editing/MarkingRules.h"
#include "ui/DuplicatesMenu.h"

#include <QObject>
#include <QPoint>

class QAbstractItemView;
class QMimeData;

namespace twinscan {

class ListBoxModel;
class ScanSession;

// What the list interactions need of the window they live in.
class ListHost
{
public:
    virtual ~ListHost() = default;

    // The results the lists show, none before the first scan.
    virtual const ScanSession *shownSession() const = 0;
    // Whether a marking rule is moving the current entry, which then shows no line.
    virtual bool bulkMarking() const = 0;
    // Clears the message panel as a command starts.
    virtual void startCommand() = 0;
    virtual void markBy(MarkRule rule) = 0;
    // Copy to Clipboard "All" or "Selected".
    virtual void copyEntries(CopyScope scope) = 0;
    // Save Report, Save Duplicates Only, Save Removed Lines.
    virtual void saveOutput(OutputKind kind) = 0;
    virtual void scanDropped(const QString &file) = 0;
    // The message panel's text, set by a click on an entry.
    virtual void showStatus(const QString &text) = 0;
    // Whether the lines can still be copied: false, with the refusal said, once the file changed
    // since the scan.
    virtual bool copyableText() = 0;
};

// The window's two lists, their models, and the window whose pointer shows a command's wait.
struct ListViews
{
    QWidget *window = nullptr;
    QAbstractItemView *lstShow = nullptr;
    QAbstractItemView *List2 = nullptr;
    ListBoxModel *lstShowBox = nullptr;
    ListBoxModel *List2Box = nullptr;
};

// What the two lists of the main window do besides showing lines: a click on a duplicates entry
// shows its line in the source list, the duplicates list has a context menu (right button, the
// Menu key, Shift+F10) for copying and marking, and a file dropped on the source list is scanned.
class ListInteractions final : public QObject
{
    Q_OBJECT

public:
    ListInteractions(ListHost &host, const ListViews &views);

    // The current entry changed or was clicked: its line becomes the source list's current line.
    void List2_Click();
    // A mouse button was released over the duplicates list at `globalPos`.
    void List2_MouseUp(Qt::MouseButton button, QPoint globalPos);
    // The Menu key or Shift+F10: the context menu at the current entry.
    void openMenuFromKeyboard();

    void mnuCopyAll_Click();
    void mnuCopyCurrent_Click();
    void mnuCopySelected_Click();
    void copyForKey();
    // Shows the groups with the most lines first, or in the order of their first lines again.
    void sortByCount(bool byCount);

    // Scans the first file of a dropped list of local files; answers whether it takes the drop.
    bool lstShow_OLEDragDrop(const QMimeData *data);

    const DuplicatesMenu &menu() const { return menu_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMenu(QPoint globalPos);
    bool filterDrop(QEvent *event);

    ListHost &host_;
    ListViews views_;
    DuplicatesMenu menu_;
};

} // namespace twinscan
