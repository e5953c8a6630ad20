#include "ui/MainWindowUi.h"

#include "ui/PictureBox.h"
#include "ui/UniformRowView.h"
#include "ui/Widgets.h"
#include "ui/WindowGeometry.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSizeGrip>
#include <QToolButton>

namespace twinscan {

namespace {
QRect inPixels(const QRect &twips)
{
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
        twipsToPixels(twips.height())};
}

// The desktop theme's picture where it has one, ours where it has not.
QIcon picture(const char *themeName, const char *ownName)
{
    return QIcon::fromTheme(QLatin1String(themeName),
        QIcon(QStringLiteral(":/twinscan/icons/%1.svg").arg(QLatin1String(ownName))));
}

QAction *makeAction(QWidget *form, const char *name, const QString &caption, const QString &toolTip,
    const QIcon &icon, QKeySequence key = {})
{
    auto *action = named(new QAction(icon, caption, form), name);
    action->setToolTip(toolTip);
    action->setShortcut(key);
    form->addAction(action); // its key works wherever the focus is in the window
    return action;
}

QToolButton *makeButton(QWidget *parent, const char *name, QAction *action, int top)
{
    auto *button = named(new QToolButton(parent), name);
    button->setDefaultAction(action);
    button->setIconSize({24, 24});
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(inPixels({240, top, 855, 735}));
    return button;
}

// Rows of one height, drawn only as they come into sight: a list of millions of lines costs no more
// than one of ten, and scrolls sideways to its longest line seen.
UniformRowView *makeList(QWidget *parent, const char *name, const QString &toolTip)
{
    auto *list = named(new UniformRowView(parent), name);
    list->header()->hide();
    list->setToolTip(toolTip);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

// The status bar draws its own grip; this lets the user drag it to size the window.
class GripArea final : public QSizeGrip
{
public:
    using QSizeGrip::QSizeGrip;

protected:
    void paintEvent(QPaintEvent *) override { }
};

// Enter that no control took presses the focused button, else the default one; Esc presses the
// cancel button. Only a visible, enabled button is pressed.
class DefaultButtons final : public QObject
{
public:
    DefaultButtons(QWidget *form, QAbstractButton *defaultButton, QAbstractButton *cancelButton)
        : QObject(form), default_(defaultButton), cancel_(cancelButton)
    {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        QAbstractButton *button = nullptr;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            button = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
            if (!button)
                button = default_;
        } else if (key->key() == Qt::Key_Escape) {
            button = cancel_;
        }
        if (!button || !button->isVisible() || !button->isEnabled())
            return false;
        button->click();
        return true;
    }

private:
    QAbstractButton *default_;
    QAbstractButton *cancel_;
};
} // namespace

void MainWindowUi::setupUi(QWidget *form)
{
    actOpen = makeAction(form, "actOpen", QObject::tr("Open"),
        QObject::tr("Open a text file and scan for duplicates lines. Right click for the recent "
                    "files."),
        picture("document-open", "open"), QKeySequence::Open);
    actStop = makeAction(form, "actStop", QObject::tr("Stop!"), QObject::tr("Stop processing!"),
        picture("process-stop", "stop"));
    actSave = makeAction(form, "actSave", QObject::tr("Save"),
        QObject::tr("Saves the file with checked duplicates removed."),
        picture("document-save", "save"), QKeySequence::Save);
    actView = makeAction(form, "actView", QObject::tr("View"),
        QObject::tr("View the file with duplicate lines marked red."),
        picture("document-print-preview", "view"));
    actSettings = makeAction(form, "actSettings", QObject::tr("Settings"),
        QObject::tr("Open the Settings window."), picture("preferences-system", "settings"));
    actAbout = makeAction(form, "actAbout", QObject::tr("About"),
        QObject::tr("Display information about Twinscan."), picture("help-about", "about"));
    actHelp = makeAction(form, "actHelp", QObject::tr("Help"), QObject::tr("Open the help."),
        picture("help-contents", "about"), QKeySequence::HelpContents);
    actQuit = makeAction(form, "actQuit", QObject::tr("Quit"), QObject::tr("Close Twinscan."),
        QIcon(), QKeySequence::Quit);
    // Some platforms have no standard Quit key; the Linux desktops' is Ctrl+Q.
    if (actQuit->shortcut().isEmpty())
        actQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    frmAction = named(new QGroupBox(form), "frmAction");
    cmdScan = makeButton(frmAction, "cmdScan", actOpen, 240);
    cmdStop = makeButton(frmAction, "cmdStop", actStop, 240);
    cmdSave = makeButton(frmAction, "cmdSave", actSave, 1080);
    cmdView = makeButton(frmAction, "cmdView", actView, 1920);
    cmdSettings = makeButton(frmAction, "cmdSettings", actSettings, 2760);
    cmdAbout = makeButton(frmAction, "cmdAbout", actAbout, 3600);
    cmdStop->hide();
    picProgressbar = named(new PictureBox(frmAction), "picProgressbar");

    frmOrig = named(new QGroupBox(QObject::tr("Source File"), form), "frmOrig");
    lstShow = makeList(frmOrig, "lstShow",
        QObject::tr("This list contains the source file that has been scanned for "
                    "duplicates."));
    frmDup = named(new QGroupBox(QObject::tr("Duplicates Found"), form), "frmDup");
    List2 = makeList(frmDup, "List2",
        QObject::tr("This list contains all duplicates found. Right click for a popup "
                    "menu."));
    picStatusbar = named(new PictureBox(form), "picStatusbar");
    grip = new GripArea(picStatusbar);
    // Screen readers name a control by its caption; these have none of their own.
    frmAction->setAccessibleName(QObject::tr("Commands"));
    lstShow->setAccessibleName(QObject::tr("Source file lines"));
    List2->setAccessibleName(QObject::tr("Duplicate lines"));
    picProgressbar->setAccessibleName(QObject::tr("Progress"));
    picStatusbar->setAccessibleName(QObject::tr("Status"));
    grip->setAccessibleName(QObject::tr("Window size"));

    QWidget *order[] = {cmdScan, cmdStop, cmdSave, cmdView, cmdSettings, cmdAbout, lstShow, List2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    new DefaultButtons(form, cmdScan, cmdStop);
    place(geometry);
}

void MainWindowUi::place(const MainWindowGeometry &placed)
{
    geometry = placed;
    frmAction->setGeometry(inPixels(placed.frmAction));
    picProgressbar->setGeometry(inPixels(placed.picProgressbar));
    frmOrig->setGeometry(inPixels(placed.frmOrig));
    lstShow->setGeometry(inPixels(placed.lstShow));
    frmDup->setGeometry(inPixels(placed.frmDup));
    List2->setGeometry(inPixels(placed.List2));
    picStatusbar->setGeometry(inPixels(placed.picStatusbar));
    const int side = picStatusbar->height();
    grip->setGeometry(picStatusbar->width() - side, 0, side, side);
}

} // namespace twinscan
