#include "windows/frmSettings.h"

#include "ui/Widgets.h"
#include "windows/CompareFrame.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace twinscan {

namespace {

// A doubled "&" shows one ampersand and makes no accelerator.
const QString trimCaption = QStringLiteral("Remove leading && trailing spaces.");

// Both frames hold a box of the trim caption, which the eye tells apart by where it sits; a screen
// reader names each with its frame.
void nameByFrame(QCheckBox *box, const QGroupBox *frame)
{
    QString caption = box->text();
    caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
    box->setAccessibleName(QStringLiteral("%1: %2").arg(frame->title(), caption));
}

// A stored value other than 0 and 1 (a hand-edited file) shows as the scan or the save takes it,
// and stays as it is unless the user changes its box, so that Ok alone changes no meaning.
qint16 flagAfter(const QCheckBox *box, qint16 stored, bool shownChecked)
{
    if (box->isChecked() == shownChecked)
        return stored;
    return box->isChecked() ? 1 : 0;
}

} // namespace

frmSettings::frmSettings(ScanOptions &scanOptions, SaveOptions &saveOptions,
    qint16 &showLargeFileLists, KeySpec &keySpec, QWidget *parent)
    : QDialog(parent),
      scanOptions_(scanOptions),
      saveOptions_(saveOptions),
      showLargeFileLists_(showLargeFileLists),
      keySpec_(keySpec)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    buildControls();
    applyTabOrder();
    connect(cmdOk, &QPushButton::clicked, this, &frmSettings::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(frmCompare, &CompareFrame::validityChanged, cmdOk, &QPushButton::setEnabled);
    Form_Load();
}

bool frmSettings::edit(QWidget *owner, ScanOptions &scanOptions, SaveOptions &saveOptions,
    qint16 &showLargeFileLists, KeySpec &keySpec)
{
    frmSettings dialog(scanOptions, saveOptions, showLargeFileLists, keySpec, owner);
    return dialog.exec() == QDialog::Accepted;
}

void frmSettings::buildControls()
{
    chkCase = named(new QCheckBox(QStringLiteral("Case sensitive."), this), "chkCase");
    chkTrim = named(new QCheckBox(trimCaption, this), "chkTrim");
    chkEmpty = named(new QCheckBox(QStringLiteral("Include empty lines."), this), "chkEmpty");
    chkLargeLists = named(
        new QCheckBox(QStringLiteral("Show the lists of files with 32,768 lines or more."), this),
        "chkLargeLists");
    Frame1 = makeFrame(this, "Frame1", QStringLiteral("Scanning for Duplicates"),
        {chkCase, chkTrim, chkEmpty, chkLargeLists});
    frmCompare = new CompareFrame(this);
    chkTrimSave = named(new QCheckBox(trimCaption, this), "chkTrimSave");
    chkSaveEmpty = named(new QCheckBox(QStringLiteral("Save empty lines."), this), "chkSaveEmpty");
    Frame2 = makeFrame(this, "Frame2", QStringLiteral("Saving"), {chkTrimSave, chkSaveEmpty});
    nameByFrame(chkTrim, Frame1);
    nameByFrame(chkTrimSave, Frame2);

    cmdOk = named(new QPushButton(QStringLiteral("Ok"), this), "cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(frmCompare);
    layout->addWidget(Frame2);
    layout->addLayout(buttons);
    // A dialog of fixed size, like the rest of the program's small windows.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The frames take no focus, so the chain runs Ok, Cancel, then the boxes with the two save
// options in reverse of their places on screen.
void frmSettings::applyTabOrder()
{
    QWidget *const order[]
        = {cmdOk, cmdCancel, chkCase, chkTrim, chkEmpty, chkLargeLists, chkSaveEmpty, chkTrimSave};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    // The frames cannot take the focus, so the dialog opens with it on Ok, first in the order.
    cmdOk->setFocus();
}

void frmSettings::Form_Load()
{
    const ScanRules scan = ScanRules::from(scanOptions_);
    const SaveRules save = SaveRules::from(saveOptions_);
    chkCase->setChecked(scan.caseSensitive);
    chkTrim->setChecked(scan.trimLines);
    chkEmpty->setChecked(scan.includeEmptyLines);
    chkLargeLists->setChecked(showLargeFileLists_ != 0);
    chkTrimSave->setChecked(save.trimLines);
    chkSaveEmpty->setChecked(save.keepEmptyLines);
    frmCompare->setSpec(keySpec_);
}

void frmSettings::cmdOk_Click()
{
    const ScanRules scan = ScanRules::from(scanOptions_);
    const SaveRules save = SaveRules::from(saveOptions_);
    scanOptions_.caseSensitive = flagAfter(chkCase, scanOptions_.caseSensitive, scan.caseSensitive);
    scanOptions_.trimLines = flagAfter(chkTrim, scanOptions_.trimLines, scan.trimLines);
    scanOptions_.includeEmptyLines
        = flagAfter(chkEmpty, scanOptions_.includeEmptyLines, scan.includeEmptyLines);
    showLargeFileLists_ = flagAfter(chkLargeLists, showLargeFileLists_, showLargeFileLists_ != 0);
    saveOptions_.trimSaveLines = flagAfter(chkTrimSave, saveOptions_.trimSaveLines, save.trimLines);
    saveOptions_.saveEmptyLines
        = flagAfter(chkSaveEmpty, saveOptions_.saveEmptyLines, save.keepEmptyLines);
    keySpec_ = frmCompare->keySpec();
    accept();
}

} // namespace twinscan
