#pragma once

#include "editing/SaveOptions.h"
#include "engine/ScanOptions.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace twinscan {

// The modal dialog of the five switches. It edits the options in memory only, and only when the
// user presses Ok; Cancel, Escape and the window frame's close leave them as they were.
class frmSettings final : public QDialog
{
    Q_OBJECT

public:
    frmSettings(ScanOptions &scanOptions, SaveOptions &saveOptions, QWidget *parent = nullptr);

    // Runs the dialog modally over `owner`; true when Ok was pressed.
    static bool edit(QWidget *owner, ScanOptions &scanOptions, SaveOptions &saveOptions);

private:
    void buildControls();
    void applyTabOrder();
    void Form_Load();
    void cmdOk_Click();

    ScanOptions &scanOptions_;
    SaveOptions &saveOptions_;

    QGroupBox *Frame1 = nullptr;
    QCheckBox *chkCase = nullptr;
    QCheckBox *chkTrim = nullptr;
    QCheckBox *chkEmpty = nullptr;
    QGroupBox *Frame2 = nullptr;
    QCheckBox *chkTrimSave = nullptr;
    QCheckBox *chkSaveEmpty = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace twinscan
