#pragma once

#include "editing/SaveOptions.h"
#include "engine/KeySpec.h"
#include "engine/ScanOptions.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace twinscan {

class CompareFrame;

// The modal dialog of the five switches, of what is compared and of whether large files are
// listed. It edits the
// options in memory only, and only when the user presses Ok; Cancel, Escape and the window frame's
// close leave them as they were.
class frmSettings final : public QDialog
{
    Q_OBJECT

public:
    frmSettings(ScanOptions &scanOptions, SaveOptions &saveOptions, qint16 &showLargeFileLists,
        KeySpec &keySpec, QWidget *parent = nullptr);

    // Runs the dialog modally over `owner`; true when Ok was pressed.
    static bool edit(QWidget *owner, ScanOptions &scanOptions, SaveOptions &saveOptions,
        qint16 &showLargeFileLists, KeySpec &keySpec);

private:
    void buildControls();
    void applyTabOrder();
    void Form_Load();
    void cmdOk_Click();

    ScanOptions &scanOptions_;
    SaveOptions &saveOptions_;
    qint16 &showLargeFileLists_;
    KeySpec &keySpec_;

    QGroupBox *Frame1 = nullptr;
    QCheckBox *chkCase = nullptr;
    QCheckBox *chkTrim = nullptr;
    QCheckBox *chkEmpty = nullptr;
    QCheckBox *chkLargeLists = nullptr;
    CompareFrame *frmCompare = nullptr;
    QGroupBox *Frame2 = nullptr;
    QCheckBox *chkTrimSave = nullptr;
    QCheckBox *chkSaveEmpty = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace twinscan
