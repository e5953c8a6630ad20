#include "windows/ViewerFindBar.h"

#include "ui/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>

namespace twinscan {

namespace {
QToolButton *actionButton(QWidget *parent, const char *name, QAction &action)
{
    auto *button = named(new QToolButton(parent), name);
    button->setDefaultAction(&action);
    return button;
}
} // namespace

ViewerFindBar::ViewerFindBar(std::shared_ptr<const LoadedText> text, QAction &findPrevious,
    QAction &findNext, QWidget *parent)
    : QWidget(parent), text_(std::move(text)), findPrevious_(findPrevious), findNext_(findNext)
{
    setObjectName(QStringLiteral("fraFind"));
    txtFind = named(new QLineEdit(this), "txtFind");
    chkMatchCase = named(new QCheckBox(tr("Match &case"), this), "chkMatchCase");
    prgFind = named(new QProgressBar(this), "prgFind");
    prgFind->setMaximumWidth(160);
    prgFind->hide();
    auto *cmdClose = named(new QToolButton(this), "cmdCloseFind");
    cmdClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    cmdClose->setToolTip(tr("Close (Esc)"));
    auto *label = new QLabel(tr("Fi&nd:"), this);
    label->setBuddy(txtFind);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    for (QWidget *control : std::initializer_list<QWidget *> {label, txtFind,
             actionButton(this, "cmdFindPrevious", findPrevious),
             actionButton(this, "cmdFindNext", findNext), chkMatchCase, prgFind})
        layout->addWidget(control);
    layout->addStretch();
    layout->addWidget(cmdClose);
    txtFind->installEventFilter(this);
    connect(cmdClose, &QToolButton::clicked, this, &QWidget::hide);
    connect(&slices_, &QTimer::timeout, this, &ViewerFindBar::runSlice);
}

bool ViewerFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != txtFind || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    (key->modifiers() & Qt::ShiftModifier ? findPrevious_ : findNext_).trigger();
    return true;
}

void ViewerFindBar::open()
{
    show();
    txtFind->setFocus();
    txtFind->selectAll();
}

void ViewerFindBar::find(int from, LineSearch::Direction direction)
{
    cancel();
    if (txtFind->text().isEmpty()) {
        open();
        return;
    }
    search_.emplace(text_, txtFind->text(), chkMatchCase->isChecked(), from, direction);
    runSlice();
    if (isSearching()) {
        prgFind->setValue(0);
        prgFind->show();
        slices_.start(0);
    }
}

void ViewerFindBar::cancel()
{
    slices_.stop();
    prgFind->hide();
    search_.reset();
}

// About 20 ms of searching, then the events' turn.
void ViewerFindBar::runSlice()
{
    QElapsedTimer clock;
    clock.start();
    while (!search_->step(4096)) {
        if (clock.elapsed() >= 20) {
            prgFind->setValue(int(qint64(search_->searched()) * 100 / text_->lineCount()));
            return;
        }
    }
    const int line = search_->found();
    cancel();
    if (line >= 0)
        Q_EMIT found(line);
    else
        Q_EMIT notFound(txtFind->text());
}

} // namespace twinscan
