#include "windows/frmAbout.h"

#include "ui/HelpDocument.h"
#include "ui/MessageBoxService.h"
#include "ui/ShellService.h"
#include "ui/Widgets.h"
#include "ui/WindowGeometry.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

namespace twinscan {

namespace {

// How far right of the window's edge the Close button waits, in twips.
constexpr int closeButtonOffset = 1000;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString linkCaption()
{
    const QString address = QStringLiteral(TWINSCAN_MAKER_PAGE);
    return address.isEmpty() ? QObject::tr("Twinscan help (ReadMe.html)") : address;
}

} // namespace

frmAbout::frmAbout(const QString &appTitle, const QString &appVersion, const QString &statistics,
    ShellService &shell, MessageBoxService &messages, QWidget *parent)
    : QDialog(parent), shell_(shell), messages_(messages), appTitle_(appTitle)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A fixed window: no minimise or maximise box.
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildControls(appTitle);
    setWindowTitle(QStringLiteral(" About ") + appTitle);
    lblVersion->setText(QLatin1Char('v') + appVersion);
    lblStats->setText(statistics);
    // The catcher covers every control but the link, so a click on a label closes the window too.
    clickShape->raise();
    lblWeb->raise();
    clickShape->installEventFilter(this);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::accept);
    connect(lblWeb, &QLabel::linkActivated, this, &frmAbout::lblWeb_Click);
}

QUrl frmAbout::makerPage()
{
    const QString address = QStringLiteral(TWINSCAN_MAKER_PAGE);
    if (!address.isEmpty())
        return QUrl(address);
    // Without a document the desktop says what it could not find.
    const QString path = helpDocumentPath();
    return QUrl::fromLocalFile(path.isEmpty() ? helpDocumentCandidates().constLast() : path);
}

void frmAbout::buildControls(const QString &appTitle)
{
    Label5 = makeLabel(this, "Label5", appTitle);
    QFont heading(QStringLiteral("Arial"));
    heading.setPointSize(20);
    heading.setBold(true);
    Label5->setFont(heading);
    imgLogo = named(new QSvgWidget(QStringLiteral(":/twinscan/logo.svg"), this), "imgLogo");
    imgLogo->setFixedSize(64, 64);
    lblVersion = makeLabel(this, "lblVersion", {});
    lblStats = makeLabel(this, "lblStats", {});
    lblWeb = named(new QLabel(this), "lblWeb");
    lblWeb->setText(
        QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(makerPage().toString().toHtmlEscaped(), linkCaption().toHtmlEscaped()));
    lblWeb->setCursor(Qt::PointingHandCursor);
    lblNotice = makeLabel(this, "lblNotice", tr("Made by Corvane.\nCopyright © 2026 Corvane."));
    QFont small = lblNotice->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblNotice->setFont(small);
    clickShape = named(new QWidget(this), "clickShape");
    cmdExit = named(new QPushButton(tr("Close"), this), "cmdExit");
    cmdExit->setDefault(true);

    auto *text = new QVBoxLayout;
    text->addWidget(Label5);
    text->addWidget(lblVersion);
    text->addSpacing(12);
    text->addWidget(lblStats);
    text->addSpacing(12);
    // Left-aligned at its own width, so that a click beside the link still closes the window.
    text->addWidget(lblWeb, 0, Qt::AlignLeft);
    text->addWidget(lblNotice);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 24, 16);
    layout->setSpacing(16);
    layout->addWidget(imgLogo, 0, Qt::AlignTop);
    layout->addLayout(text);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == clickShape && event->type() == QEvent::MouseButtonRelease) {
        closeOnLeftClick(*static_cast<QMouseEvent *>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    closeOnLeftClick(*event);
}

// The right and middle buttons have meanings of their own on a desktop; only the left one closes.
void frmAbout::closeOnLeftClick(const QMouseEvent &click)
{
    if (click.button() == Qt::LeftButton)
        accept();
}

void frmAbout::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    clickShape->setGeometry(rect());
    // Out of sight, but as the default button it still takes Enter; Escape rejects the dialog.
    cmdExit->move(width() + twipsToPixels(closeButtonOffset), 0);
}

// A link the desktop cannot open says so, as F1 does, rather than doing nothing.
void frmAbout::lblWeb_Click()
{
    if (QStringLiteral(TWINSCAN_MAKER_PAGE).isEmpty()) {
        openHelpDocument(this, shell_, messages_, appTitle_);
    } else if (!shell_.openDocument(makerPage())) {
        messages_.show(this, appTitle_,
            tr("The page %1 could not be opened: the desktop has no application to show it.")
                .arg(makerPage().toString()),
            MessageButtons::Ok, MessageIcon::Exclamation);
    }
}

} // namespace twinscan
