#include "windows/frmSettings.h"

#include <QCheckBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

const char *const boxes[]
    = {"chkCase", "chkTrim", "chkEmpty", "chkTrimSave", "chkSaveEmpty", "chkLargeLists"};

// The dialog over six options given in the order of the boxes.
struct Opened
{
    explicit Opened(const std::vector<qint16> &v)
        : scan {v[0], v[1], v[2]}, save {v[3], v[4]}, largeLists(v[5])
    {
    }

    std::vector<qint16> options() const
    {
        return {scan.caseSensitive, scan.trimLines, scan.includeEmptyLines, save.trimSaveLines,
            save.saveEmptyLines, largeLists};
    }
    QCheckBox *box(const char *name) const
    {
        return dialog.findChild<QCheckBox *>(QLatin1String(name));
    }

    ScanOptions scan;
    SaveOptions save;
    qint16 largeLists;
    frmSettings dialog {scan, save, largeLists};
};

// Each box shows its own option (the first two rows tell every pair of boxes apart); a value the
// program never stores (a hand-edited file) shows as the scan or the save reads it: case on for
// anything but 0, the others on only for 1, keeping empty lines off only for 0, and the large-file
// lists as the window reads them: on for anything but 0. Ok then copies a toggled box into its
// option, 0 or 1, and leaves the others as they were, odd values too; Cancel changes nothing.
TEST(SettingsDialog, BoxesShowTheOptionsAndOkCopiesAToggledBoxBack)
{
    const std::pair<std::vector<qint16>, std::vector<bool>> cases[] = {
        {{0, 1, 0, 1, 0, 1}, {0, 1, 0, 1, 0, 1}},
        {{0, 0, 1, 1, 1, 0}, {0, 0, 1, 1, 1, 0}},
        {{2, 2, -1, 3, 7, 5}, {1, 0, 0, 0, 1, 1}},
    };
    for (const auto &[options, checks] : cases) {
        for (std::size_t i = 0; i < std::size(boxes); ++i) {
            for (const bool ok : {true, false}) {
                Opened opened(options);
                EXPECT_EQ(opened.box(boxes[i])->isChecked(), checks[i]) << boxes[i];
                opened.box(boxes[i])->toggle();
                opened.dialog.findChild<QPushButton *>(ok ? "cmdOk" : "cmdCancel")->click();
                std::vector<qint16> expected = options;
                expected[i] = ok ? !checks[i] : options[i];
                EXPECT_EQ(opened.options(), expected) << boxes[i] << ok;
                EXPECT_EQ(opened.dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
            }
        }
    }
}

} // namespace
} // namespace twinscan
