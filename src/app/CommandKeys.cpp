#include "app/CommandKeys.h"

#include "app/frmMain.h"

#include <QShortcut>
#include <QToolButton>

namespace twinscan {

namespace {
// A disabled button ignores a click, so a key is refused exactly when the mouse would be.
void pressOnKey(frmMain &window, QKeyCombination key, QToolButton *button)
{
    auto *shortcut = new QShortcut(QKeySequence(key), &window);
    QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
}
} // namespace

void installCommandKeys(frmMain &window)
{
    pressOnKey(window, Qt::CTRL | Qt::Key_O, window.ui().cmdScan);
    pressOnKey(window, Qt::CTRL | Qt::Key_S, window.ui().cmdSave);
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &window);
    QObject::connect(quit, &QShortcut::activated, &window, &QWidget::close);
}

} // namespace twinscan
