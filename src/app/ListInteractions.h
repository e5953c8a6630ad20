#pragma once

#include "ui/DuplicatesMenu.h"

#include <QObject>
#include <QPoint>

class QMimeData;

namespace twinscan {

class frmMain;

// What the two lists of the main window do besides showing lines: a click on a duplicates entry
// shows its line in the source list, the duplicates list has a context menu (right button, the
// Menu key, Shift+F10) for copying and marking, and a file dropped on the source list is scanned.
class ListInteractions final : public QObject
{
    Q_OBJECT

public:
    explicit ListInteractions(frmMain &window);

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

    // Scans the first file of a dropped list of local files; answers whether it takes the drop.
    bool lstShow_OLEDragDrop(const QMimeData *data);

    const DuplicatesMenu &menu() const { return menu_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMenu(QPoint globalPos);
    void copyLines(bool markedOnly);
    bool filterDrop(QEvent *event);

    frmMain &window_;
    DuplicatesMenu menu_;
};

} // namespace twinscan
