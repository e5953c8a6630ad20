#include "ui/MainWindowUi.h"

#include "engine/Rounding.h"
#include "ui/CaptionRoom.h"
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
#include <algorithm>
#include <cmath>

namespace twinscan {

namespace {
// Each button's place in the action frame at the design font, in twips, by its top.
constexpr int buttonLeft = 240;
constexpr QSize buttonSize {855, 735};

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

QToolButton *makeButton(QWidget *parent, const char *name, QAction *action)
{
    auto *button = named(new QToolButton(parent), name);
    button->setDefaultAction(action);
    button->setIconSize({24, 24});
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

// The design was made for the default font; a larger one grows the whole window alike, as much as
// the caption with the least room needs. It never shrinks: the default font leaves every pixel.
double captionScale(const MainWindowUi &ui, const MainWindowGeometry &design)
{
    double scale = 1.0;
    for (const QToolButton *button :
        {ui.cmdScan, ui.cmdStop, ui.cmdSave, ui.cmdView, ui.cmdSettings, ui.cmdAbout}) {
        const QSize room = captionRoom(*button);
        scale = std::max({scale, growthFor(room.width(), buttonSize.width()),
            growthFor(room.height(), buttonSize.height())});
    }
    return std::max({scale, growthFor(titleRoom(*ui.frmOrig), design.lstShow.top()),
        growthFor(titleRoom(*ui.frmDup), design.List2.top())});
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
        QObject::tr("Open a text file and scan for duplicates lines."),
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
    actUndo = makeAction(form, "actUndo", QObject::tr("Undo Marking"),
        QObject::tr("Take back the last change of the marks."), QIcon(), QKeySequence::Undo);
    actRedo = makeAction(form, "actRedo", QObject::tr("Redo Marking"),
        QObject::tr("Change the marks again as undone."), QIcon(), QKeySequence::Redo);
    // The Linux desktops' Redo is Ctrl+Shift+Z, which platforms of other habits do not offer.
    if (const QKeySequence shiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        !actRedo->shortcuts().contains(shiftZ))
        actRedo->setShortcuts(QList<QKeySequence> {shiftZ} + actRedo->shortcuts());

    frmAction = named(new QGroupBox(form), "frmAction");
    cmdScan = makeButton(frmAction, "cmdScan", actOpen);
    cmdStop = makeButton(frmAction, "cmdStop", actStop);
    cmdSave = makeButton(frmAction, "cmdSave", actSave);
    cmdView = makeButton(frmAction, "cmdView", actView);
    cmdSettings = makeButton(frmAction, "cmdSettings", actSettings);
    cmdAbout = makeButton(frmAction, "cmdAbout", actAbout);
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
    scale = captionScale(*this, geometry);
    const std::pair<QToolButton *, int> buttonTops[] = {{cmdScan, 240}, {cmdStop, 240},
        {cmdSave, 1080}, {cmdView, 1920}, {cmdSettings, 2760}, {cmdAbout, 3600}};
    for (const auto &[button, top] : buttonTops)
        button->setGeometry(inPixels({QPoint(buttonLeft, top), buttonSize}));
    place(geometry);
}

QRect MainWindowUi::inPixels(const QRect &twips) const
{
    const auto pixels
        = [this](int length) { return int(roundHalfEven(double(length) * scale / twipsPerPixel)); };
    return {pixels(twips.x()), pixels(twips.y()), pixels(twips.width()), pixels(twips.height())};
}

int MainWindowUi::designTwips(qint64 twips) const
{
    return int(roundHalfEven(double(twips) / scale));
}

QSize MainWindowUi::designTwips(QSize pixels) const
{
    return {designTwips(qint64(pixels.width()) * twipsPerPixel),
        designTwips(qint64(pixels.height()) * twipsPerPixel)};
}

QSize MainWindowUi::scaled(QSize pixels) const
{
    return {int(std::ceil(pixels.width() * scale)), int(std::ceil(pixels.height() * scale))};
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
